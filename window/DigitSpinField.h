#pragma once
// The digit-count field (DigitCountSpin): one character, range 1 to 5, arrows and
// the Up/Down keys step it, typing is filtered but not range-checked until
// the focus leaves. A stock spin box corrects text while it is typed, which
// is not what this field does.
#include <QWidget>

class QLineEdit;
class QToolButton;

class TDigitSpinField : public QWidget {
    Q_OBJECT
public:
    explicit TDigitSpinField(QWidget* parent = nullptr);

    static constexpr int MinValue = 1;
    static constexpr int MaxValue = 5;

    // The text as a whole decimal number; anything else reads as the minimum.
    int Value() const;
    // Brought into range first; raises TextChanged only on a real change.
    void SetValue(int value);
    QString Text() const;
    void SetText(const QString& text);
    QLineEdit* Editor() const { return FEditor; }

    static int Clamp(int value);

signals:
    void TextChanged(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void StepBy(int delta);
    bool AcceptsKey(const QKeyEvent& key) const;
    static bool LeavesTheField(const QFocusEvent& focus);

    QLineEdit* FEditor;
    QToolButton* FUp;
    QToolButton* FDown;
};
