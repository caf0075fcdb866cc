#pragma once

// Makes assistive technology announce the main window as a window (a
// "frame" on the desktop's accessibility bus), from which screen readers
// read its title. A plain top-level widget would be announced as a filler.
// Also shows a tab widget's pages as its children beside the tab strip,
// without the stack the tab widget keeps them in.
// Safe to call more than once.
void AnnounceMainWindowAsFrame();
