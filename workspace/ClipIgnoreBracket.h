#pragma once
// Raises ClipIgnore while the program writes the clipboard itself, so that
// monitoring does not react to its own write, and puts the saved value back
// however the write ends: a flag left raised would silently end monitoring.
class TClipIgnoreBracket {
public:
    explicit TClipIgnoreBracket(bool& flag) : FFlag(flag), FSaved(flag) { FFlag = true; }
    ~TClipIgnoreBracket() { FFlag = FSaved; }
    TClipIgnoreBracket(const TClipIgnoreBracket&) = delete;
    TClipIgnoreBracket& operator=(const TClipIgnoreBracket&) = delete;

private:
    bool& FFlag;
    bool FSaved;
};
