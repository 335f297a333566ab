#include "tt_entries.h"

#include "worddata/TT.h"

const std::vector<TextTableEntry>& AllEntries() {
    static const std::vector<TextTableEntry> entries = {
        {"TT.REP_Found", TT::REP_Found, " was found!"},
        {"TT.REP_Unknown", TT::REP_Unknown, "Unknown word."},
        {"TT.REP_Baseform", TT::REP_Baseform, "Baseform: "},
        {"TT.REP_PartOfSpeech", TT::REP_PartOfSpeech, "Part of speech: "},
        {"TT.REP_Subjects", TT::REP_Subjects, "Subject groups: "},
        {"TT.REP_Synonyms", TT::REP_Synonyms, "Synonyms..."},
        {"TT.REP_Continuation", TT::REP_Continuation, "Possible continuation..."},
        {"TT.REP_Similar", TT::REP_Similar, "Similar to..."},
        {"TT.REP_Ending", TT::REP_Ending, "Words with this ending..."},
        {"TT.REP_Fragment", TT::REP_Fragment, "Other words with this fragment..."},
        {"TT.REP_MoreAnalysis", TT::REP_MoreAnalysis, "Please wait for more analysis..."},
        {"TT.REP_MoreSuggestions", TT::REP_MoreSuggestions, "Please wait for more suggestions..."},
        {"TT.REP_Source", TT::REP_Source, "List of sources: "},
        {"TT.REP_SystemDictionary", TT::REP_SystemDictionary, "Mac OS X System Dictionary"},
        {"TT.REP_Noun", TT::REP_Noun, "Noun"},
        {"TT.REP_Neuter", TT::REP_Neuter, "Neuter"},
        {"TT.REP_Adjective", TT::REP_Adjective, "Adjective"},
        {"TT.REP_Verb", TT::REP_Verb, "Verb"},
        {"TT.REP_FirstName", TT::REP_FirstName, "Proper first name"},
        {"TT.REP_LastName", TT::REP_LastName, "Proper surname"},
        {"TT.REP_UnknownType", TT::REP_UnknownType, "Unknown"},
        {"TT.REP_Nouns", TT::REP_Nouns, "Nouns..."},
        {"TT.REP_Verbs", TT::REP_Verbs, "Verbs..."},
        {"TT.REP_Adjectives", TT::REP_Adjectives, "Adjectives..."},
        {"TT.MEN_Search", TT::MEN_Search, "Search "},
        {"TT.MEN_At", TT::MEN_At, " at..."},
        {"TT.MEN_CopyWord", TT::MEN_CopyWord, "Copy word"},
        {"TT.MEN_AppendWord", TT::MEN_AppendWord, "Append word"},
        {"TT.MEN_NoWord", TT::MEN_NoWord, "No word selected!"},
        {"TT.MEN_NewWindow", TT::MEN_NewWindow, "Open new window"},
        {"TT.MM_About", TT::MM_About, "About Quorvane"},
        {"TT.MM_FileMenu", TT::MM_FileMenu, "&File"},
        {"TT.MM_Close", TT::MM_Close, "Close Window"},
        {"TT.MM_EditMenu", TT::MM_EditMenu, "&Edit"},
        {"TT.MM_Cut", TT::MM_Cut, "Cu&t"},
        {"TT.MM_Copy", TT::MM_Copy, "&Copy"},
        {"TT.MM_Paste", TT::MM_Paste, "&Paste"},
        {"TT.MM_Delete", TT::MM_Delete, "Delete"},
        {"TT.MM_SelectAll", TT::MM_SelectAll, "Select &All"},
        {"TT.WIN_Title", TT::WIN_Title, "Result of "},
        {"TT.ERR_Title", TT::ERR_Title, "Program Error!"},
        {"TT.ERR_Internet", TT::ERR_Internet,
         "The internet connection has failed!\r\rEither the servers are down, too busy to "
         "answer or your internet connection isn't working. Quorvane shows this message only "
         "once and will keep trying to get a connection."},
    };
    return entries;
}
