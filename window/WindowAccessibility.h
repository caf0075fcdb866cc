#pragma once

// Makes assistive technology announce the main window as a window (a
// "frame" on the desktop's accessibility bus), from which screen readers
// read its title. A plain top-level widget would be announced as a filler.
// Safe to call more than once.
void AnnounceMainWindowAsFrame();
