#pragma once
#include <string>

// The switches and texts that the recognizer, the range expansion and the
// exports read at the moment of each call. Strings are CP932 bytes.
struct TExtractOptions {
    std::string PREFIX = "URL-";
    int NUMBER = 4;
    bool WWW = true;
    bool ALL = true;
    bool NTT = false;
    bool EXTRACTION = false;
    bool CB = false;
    bool LINK = false;
    bool RULE1 = false;
    bool RULE2 = false;
    bool RULE3 = false;
    std::string BEFORE;
    std::string AFTER;
    std::string SEARCH;
    std::string MEMO;  // the memo line; also holds the hidden codes
};
