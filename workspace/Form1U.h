#pragma once
// The main window: the controls of the four pages, the status line and the
// non-visual components, bound to the workspace's plain objects. Before each
// workspace handler the controls' state goes into the workspace; afterwards
// the workspace's results come back into the controls.
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <QString>
#include <QWidget>

class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;

class TDigitSpinField;
class TForm1Builder;
class TPageControl;
class TPictureBox;
class TPopupMenu;
class TQvClipDetector;
class TTrayIcon;
class TUrlListView;
class TWorkspace;
class TWorkspaceServices;
struct TExtractOptions;

class TForm1 : public QWidget {
    Q_OBJECT
public:
    // services: dialogs, clipboard and error report (nullptr: this desktop's).
    // programFolder: where the workspace files live, with a trailing "/"
    // (empty: the executable's folder).
    explicit TForm1(TWorkspaceServices* services = nullptr, std::string programFolder = {},
                    QWidget* parent = nullptr);
    ~TForm1() override;

    TWorkspace& Workspace() { return *FWorkspace; }
    TForm1Builder& Builder() { return *FBuilder; }

    // ---- Controls, named as the rest of the program addresses them ----
    TPageControl* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;
    QWidget* TabSheet4;
    QStatusBar* StatusBar1;
    QFrame* Panel1;
    QFrame* Panel2;
    QFrame* Panel3;
    QGroupBox* GroupBox1;
    QGroupBox* GroupBox2;
    QGroupBox* GroupBox3;
    QGroupBox* GroupBox4;
    QGroupBox* GroupBox5;
    QGroupBox* GroupBox6;
    QGroupBox* GroupBox7;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QLineEdit* Edit5;
    QLineEdit* Edit6;
    TDigitSpinField* SpinEdit1;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
    QPushButton* Button5;
    QPushButton* Button6;
    QPushButton* Button7;
    QPushButton* Button8;
    QPushButton* Button9;
    QPushButton* Button10;
    QPushButton* Button11;
    QPushButton* Button12;
    QPushButton* Button13;
    QPushButton* Button14;
    QPushButton* Button15;
    QPushButton* Button16;
    QPushButton* Button17;
    QPushButton* Button18;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox5;
    QCheckBox* CheckBox6;
    QCheckBox* CheckBox7;
    QCheckBox* CheckBox8;
    QCheckBox* CheckBox9;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label9;
    QLabel* Label10;
    QLabel* Label11;
    QLabel* Label12;
    TUrlListView* ListBox1;
    QListWidget* ListBox2;
    QPlainTextEdit* Memo1;
    QPlainTextEdit* Memo2;
    TPictureBox* Image1;
    QLabel* StatusText;  // the StatusLine's text inside StatusBar1

    // ---- Non-visual components (a window is never built without them) ----
    TQvClipDetector* QvClipDetector1 = nullptr;
    TTrayIcon* TrayIcon1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    QAction* N1 = nullptr;
    QAction* N2 = nullptr;
    QAction* N3 = nullptr;
    QAction* Exit1 = nullptr;

    // ---- Window handlers ----
    void FormCreate();
    void FormShow();
    // True when the window may close.
    bool FormClose();
    void Edit1Change();
    void SpinEdit1Change();
    void TabSheet4Show();
    void TabSheet3Show();
    void Image1Click();
    void Image1DblClick();
    void CheckBox4Click();
    // Files dropped on the window, in the desktop's order.
    void WMDropFiles(const std::vector<std::string>& paths);

    // ---- Clipboard monitoring and tray residency ----
    void QvClipDetector1ClipChange();
    void AppMinimize();
    void RestoreFromTray();
    void TrayIcon1DblClick();
    void N1Click();
    void N2Click();
    void Exit1Click();

    // Runs a workspace handler with the controls bound around it.
    void RunWorkspaceHandler(const std::function<void()>& handler);
    // The binding in both directions.
    TExtractOptions OptionsFromControls() const;
    void OptionsToControls(const TExtractOptions& options);
    void ControlsToWorkspace();
    void WorkspaceToControls();
    void ResetListHorizontalExtent();

    // The texts the memo page's picture reveals.
    static QString CreditsLine();
    static QString DedicationLine();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FindControls();
    void BindEvents();
    void CreateComponents();
    void MinimizeToTray();
    void ShowTrayIcon();
    void GiveTaskbarEntryBack();
    void AcceptFileDrops();
    bool TakeFileDrop(QDropEvent* event);
    void MemosToWorkspace();
    void MemosToControls();
    void ShowSelectedCount(const QString& caption);
    static void SetCaption(QLabel* label, const QString& caption);

    std::unique_ptr<TWorkspaceServices> FOwnServices;
    std::unique_ptr<TWorkspace> FWorkspace;
    std::unique_ptr<TForm1Builder> FBuilder;
    QString FShownCountLabel;        // the workspace's Label10 text last shown
    std::string FUrlEntrySent;       // Edit4 as last handed to the workspace
    int FHandlerDepth = 0;           // workspace handlers under way (a dialog may nest another)
    bool FKeepInTaskbar = false;     // the tray was refused: minimize stays in the task bar
    std::minstd_rand FPictureDraws;  // unseeded: the same draws every run
};
