#include "DesktopServices.h"

#include "CopiedPage.h"

#include <stdexcept>
#include <utility>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>

#include "BusyCursor.h"
#include "FolderDialog.h"
#include "workspace/Cp932.h"

namespace {

std::optional<std::string> LocalPath(const QString& path)
{
    if (path.isEmpty())
        return std::nullopt;
    return QFile::encodeName(path).toStdString();
}

// Clipboard text kept as the program's CP932 bytes and decoded only when
// someone pastes it: a whole list is tens of megabytes, twice that decoded.
class TCp932TextData : public QMimeData {
public:
    explicit TCp932TextData(std::string bytes) : FBytes(std::move(bytes)) { }
    QStringList formats() const override { return {QStringLiteral("text/plain")}; }
    bool hasFormat(const QString& mimeType) const override { return mimeType == QLatin1String("text/plain"); }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override
    {
        if (mimeType != QLatin1String("text/plain"))
            return {};
        if (type.id() == QMetaType::QByteArray)
            return FromCp932(FBytes).toUtf8();
        return FromCp932(FBytes);
    }

private:
    std::string FBytes;
};

// The toolkit asks the owner again for its forms at every question while
// the list it has is empty (hasText asks twice), each time into a time-out
// when the owner never answers: the forms are asked for once, here, and
// once they are known the toolkit reads the text without asking again.
class TDesktopClipboardCopy final : public TClipboardCopy {
public:
    TDesktopClipboardCopy() : TClipboardCopy(FormatsNow()) { }

private:
    static QStringList FormatsNow()
    {
        const QMimeData* data = QApplication::clipboard()->mimeData();
        return data ? data->formats() : QStringList();
    }
    std::string ReadText() override
    {
        const QMimeData* data = QApplication::clipboard()->mimeData();
        if (!data)
            throw std::runtime_error("clipboard unavailable");
        return ToCp932(data->text());
    }
    // Only from the forms listed once: the address forms are read only
    // when offered.
    std::optional<TCopiedPage> ReadPage() override
    {
        const QMimeData* data = QApplication::clipboard()->mimeData();
        if (!data)
            throw std::runtime_error("clipboard unavailable");
        return CopiedPageOf(*data, Formats());
    }
};

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, QApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);  // a file name is shown as it is, never as markup
    box.exec();
}

}  // namespace

bool AskYesNo(QWidget* parent, const QString& question, bool yesIsDefault)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), question, QMessageBox::NoButton,
                    parent);
    box.setTextFormat(Qt::PlainText);
    // Qt's own translation would name its stock buttons "はい(&Y)" and
    // "いいえ(&N)"; the program's questions keep their plain wording.
    QPushButton* yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
    box.setDefaultButton(yesIsDefault ? yes : no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

TDesktopServices::TDesktopServices(QWidget* window) : FWindow(window)
{ }

// Every dialog below shows the arrow, also in a handler under a busy cursor.

std::optional<std::string> TDesktopServices::ChooseOpenFile(const QString& filter)
{
    const TDialogCursor arrow;
    return LocalPath(QFileDialog::getOpenFileName(FWindow, QString(), QString(), filter));
}

std::optional<std::string> TDesktopServices::ChooseSaveFile(const QString& filter,
                                                            const QString& proposedName)
{
    const TDialogCursor arrow;
    // Exports overwrite an existing file without asking.
    return LocalPath(QFileDialog::getSaveFileName(FWindow, QString(), proposedName, filter, nullptr,
                                                  QFileDialog::DontConfirmOverwrite));
}

std::optional<std::string> TDesktopServices::ChooseFolder(const QString& title)
{
    const TDialogCursor arrow;
    TFolderDialog dialog(FWindow, title);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return LocalPath(dialog.selectedFiles().first());
}

bool TDesktopServices::Confirm(const QString& question)
{
    const TDialogCursor arrow;
    return AskYesNo(FWindow, question, true);
}

bool TDesktopServices::ConfirmDefaultNo(const QString& question)
{
    const TDialogCursor arrow;
    // The program names the buttons itself: the answer must not depend on
    // whether a translation of the toolkit's own texts is installed.
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), question, QMessageBox::NoButton,
                    FWindow);
    box.setTextFormat(Qt::PlainText);
    QPushButton* yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

std::unique_ptr<TClipboardCopy> TDesktopServices::LookAtClipboard()
{
    return std::make_unique<TDesktopClipboardCopy>();
}

void TDesktopServices::SetClipboardText(const std::string& cp932)
{
    QApplication::clipboard()->setMimeData(new TCp932TextData(cp932));
}

void TDesktopServices::GiveClipboardText(std::string cp932)
{
    QApplication::clipboard()->setMimeData(new TCp932TextData(std::move(cp932)));
}

void TDesktopServices::ReportError(const QString& text)
{
    const TDialogCursor arrow;
    ShowBox(FWindow, QMessageBox::Critical, text);
}

void TDesktopServices::ShowMessage(const QString& text)
{
    const TDialogCursor arrow;
    ShowBox(FWindow, QMessageBox::Information, text);
}
