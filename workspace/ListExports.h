#pragma once
// The list going out: shortcut files, a URL list file, an HTML link page, a
// bookmarks file browsers import, and clipboard text. Each says on the
// status line how it ended; a cancelled dialog writes nothing.
class TWorkspace;
class TWorkspaceServices;

class TListExports {
public:
    TListExports(TWorkspace& workspace, TWorkspaceServices& services)
        : FWorkspace(workspace), FServices(services)
    { }

    void CreateShortcuts();    // one shortcut file per item, in a chosen folder
    void CreateUrlListFile();  // the URL list file
    void CreateLinkPage();     // the HTML link page
    void CreateBookmarks();    // a bookmarks file browsers import
    void CopyWholeList();
    void CopyListToClipboard();
    void CopySelected();
    void CopyFocusedUrl();

private:
    TWorkspace& FWorkspace;
    TWorkspaceServices& FServices;
};
