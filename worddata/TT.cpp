#include "worddata/TT.h"

#include "worddata/LocalizedConstant.h"

// The key is spelled from the entry's own name, so an entry can never answer another one's key.
#define TT_ENTRY(name, english)                                            \
    const std::string& name() {                                            \
        static constinit LocalizedConstant constant{"TT." #name, english}; \
        return constant.Value();                                           \
    }

namespace TT {

TT_ENTRY(REP_Found, " was found!")
TT_ENTRY(REP_Unknown, "Unknown word.")
TT_ENTRY(REP_Baseform, "Baseform: ")
TT_ENTRY(REP_PartOfSpeech, "Part of speech: ")
TT_ENTRY(REP_Subjects, "Subject groups: ")
TT_ENTRY(REP_Synonyms, "Synonyms...")
TT_ENTRY(REP_Continuation, "Possible continuation...")
TT_ENTRY(REP_Similar, "Similar to...")
TT_ENTRY(REP_Ending, "Words with this ending...")
TT_ENTRY(REP_Fragment, "Other words with this fragment...")
TT_ENTRY(REP_MoreAnalysis, "Please wait for more analysis...")
TT_ENTRY(REP_MoreSuggestions, "Please wait for more suggestions...")
TT_ENTRY(REP_Source, "List of sources: ")
TT_ENTRY(REP_SystemDictionary, "System Dictionary (Hunspell)")

TT_ENTRY(REP_Noun, "Noun")
TT_ENTRY(REP_Neuter, "Neuter")
TT_ENTRY(REP_Adjective, "Adjective")
TT_ENTRY(REP_Verb, "Verb")
TT_ENTRY(REP_FirstName, "Proper first name")
TT_ENTRY(REP_LastName, "Proper surname")
TT_ENTRY(REP_UnknownType, "Unknown")
TT_ENTRY(REP_Nouns, "Nouns...")
TT_ENTRY(REP_Verbs, "Verbs...")
TT_ENTRY(REP_Adjectives, "Adjectives...")

TT_ENTRY(MEN_Search, "Search ")
TT_ENTRY(MEN_At, " at...")
TT_ENTRY(MEN_CopyWord, "Copy word")
TT_ENTRY(MEN_AppendWord, "Append word")
TT_ENTRY(MEN_NoWord, "No word selected!")
TT_ENTRY(MEN_NewWindow, "Open new window")

TT_ENTRY(MM_About, "About Quorvane")
TT_ENTRY(MM_FileMenu, "&File")
TT_ENTRY(MM_Close, "Close Window")
TT_ENTRY(MM_EditMenu, "&Edit")
TT_ENTRY(MM_Cut, "Cu&t")
TT_ENTRY(MM_Copy, "&Copy")
TT_ENTRY(MM_Paste, "&Paste")
TT_ENTRY(MM_Delete, "Delete")
TT_ENTRY(MM_SelectAll, "Select &All")

TT_ENTRY(WIN_Title, "Result of ")
TT_ENTRY(ERR_Title, "Program Error!")
TT_ENTRY(ERR_Internet,
         "The internet connection has failed!\r\rEither the servers are down, too busy to answer "
         "or your internet connection isn't working. Quorvane shows this message only once and "
         "will keep trying to get a connection.")

}  // namespace TT

#undef TT_ENTRY
