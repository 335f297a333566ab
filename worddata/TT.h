// The table of user-interface texts. Each entry answers its localized text (key "TT." + the entry's
// name), looked up on its first call and then cached for the run; without a translation it is the
// English default. The returned reference stays valid for the run. Main event loop and its
// cooperative threads.
#pragma once

#include <string>

namespace TT {

// Report headline, labels and headings.
const std::string& REP_Found();
const std::string& REP_Unknown();
const std::string& REP_Baseform();
const std::string& REP_PartOfSpeech();
const std::string& REP_Subjects();
const std::string& REP_Synonyms();
const std::string& REP_Continuation();
const std::string& REP_Similar();
const std::string& REP_Ending();
const std::string& REP_Fragment();
const std::string& REP_MoreAnalysis();
const std::string& REP_MoreSuggestions();
const std::string& REP_Source();
const std::string& REP_SystemDictionary();

// Word classes and the English sense headings.
const std::string& REP_Noun();
const std::string& REP_Neuter();
const std::string& REP_Adjective();
const std::string& REP_Verb();
const std::string& REP_FirstName();
const std::string& REP_LastName();
const std::string& REP_UnknownType();
const std::string& REP_Nouns();
const std::string& REP_Verbs();
const std::string& REP_Adjectives();

// Context menu.
const std::string& MEN_Search();
const std::string& MEN_At();
const std::string& MEN_CopyWord();
const std::string& MEN_AppendWord();
const std::string& MEN_NoWord();
const std::string& MEN_NewWindow();

// Menu bars; "&" marks the mnemonic letter.
const std::string& MM_About();
const std::string& MM_FileMenu();
const std::string& MM_Close();
const std::string& MM_EditMenu();
const std::string& MM_Cut();
const std::string& MM_Copy();
const std::string& MM_Paste();
const std::string& MM_Delete();
const std::string& MM_SelectAll();

// Window titles and error texts.
const std::string& WIN_Title();
const std::string& ERR_Title();
const std::string& ERR_Internet();

}  // namespace TT
