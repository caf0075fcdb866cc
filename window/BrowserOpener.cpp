#include "BrowserOpener.h"

#include <QDesktopServices>
#include <QUrl>

#include "DesktopServices.h"
#include "workspace/BrowserTargets.h"
#include "workspace/Cp932.h"
#include "workspace/Workspace.h"

void OpenChosenItemsInBrowser(TWorkspace& workspace, QWidget* parent)
{
    std::vector<QUrl> urls;
    for (const std::string& item : ChosenItems(workspace.List)) {
        const std::string address = BrowserAddressOf(item);
        // Never a local file: an item that is no web address is skipped.
        const QUrl url(FromCp932(address), QUrl::TolerantMode);
        if (!address.empty() && url.isValid() && !url.isLocalFile())
            urls.push_back(url);
    }
    if (urls.empty()) {
        workspace.SetStatus(QStringLiteral("エラー＞開くURLが選択されていません。"));
        return;
    }
    if (urls.size() > BrowserOpenWithoutAsking
        && !AskYesNo(parent, QStringLiteral("%1件のURLを開きますか？").arg(urls.size()), false))
        return;
    bool opened = true;
    for (const QUrl& url : urls)
        opened = QDesktopServices::openUrl(url) && opened;
    workspace.SetStatus(opened ? QStringLiteral("報告＞ブラウザで開きました。")
                               : QStringLiteral("エラー＞ブラウザで開けませんでした。"));
}
