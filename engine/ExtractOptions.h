#pragma once
#include <string>

// The switches and texts that the recognizer, the range expansion and the
// exports read at the moment of each call. Strings are CP932 bytes. The
// settings file keeps them under its own keys (see IniFile.cpp).
struct TExtractOptions {
    std::string ShortcutPrefix = "URL-";
    int ShortcutDigits = 4;
    bool WwwRule = true;          // "www." starts a URL
    bool SchemeRule = true;       // every "://" starts an http URL
    bool KanaConversion = false;  // undo text typed in kana mode
    bool RangeExpansion = false;  // "[01-99]" becomes one URL per number
    bool ClipboardMonitoring = false;
    bool LinkPageWithoutDialog = false;  // the link page goes to the fixed file
    bool ParentPathRule = false;         // "../" starts a relative URL
    bool RootPathRule = false;           // a leading "/" starts one
    bool SlashDotRule = false;           // a field holding "/" and "." is one
    bool LinkTargets = true;             // a copied page's link targets are read too
    bool Utf8List = false;               // the URL list file is written in UTF-8 with LF
    std::string ReplaceFrom;
    std::string ReplaceTo;
    std::string SearchText;
    std::string MemoLine;  // also holds the hidden codes
};
