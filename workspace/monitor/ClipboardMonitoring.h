#pragma once
// Whether copies made anywhere are reduced to their URLs: off (the CB
// option), paused from the notification area's menu, or on. Never while
// the program writes the clipboard itself, which is not a copy to reduce.
class TClipboardMonitoring {
public:
    enum class TState { Off, Paused, On };

    TState State() const { return !FOption ? TState::Off : FPaused ? TState::Paused : TState::On; }
    // Copies are reduced now.
    bool Watching() const { return State() == TState::On && FOwnWrites == 0; }
    // The CB option. A pause stays as it was.
    void Switch(bool on) { FOption = on; }
    // The notification area's pause entry; the window's return resumes.
    void SetPaused(bool paused) { FPaused = paused; }
    bool Paused() const { return FPaused; }

    // Held while the program writes the clipboard itself.
    class TOwnWrite {
    public:
        explicit TOwnWrite(TClipboardMonitoring& monitoring) : FMonitoring(monitoring)
        {
            ++FMonitoring.FOwnWrites;
        }
        ~TOwnWrite() { --FMonitoring.FOwnWrites; }
        TOwnWrite(const TOwnWrite&) = delete;
        TOwnWrite& operator=(const TOwnWrite&) = delete;

    private:
        TClipboardMonitoring& FMonitoring;
    };
    bool WritingOwnCopy() const { return FOwnWrites > 0; }

private:
    bool FOption = true;
    bool FPaused = true;  // until the workspace has started
    int FOwnWrites = 0;
};
