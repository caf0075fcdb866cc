#include "DigitSpinField.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>

namespace {
constexpr int ArrowWidth = 15;
}  // namespace

TDigitSpinField::TDigitSpinField(QWidget* parent)
    : QWidget(parent), FEditor(new QLineEdit(this)), FUp(new QToolButton(this)), FDown(new QToolButton(this))
{
    FEditor->setMaxLength(1);
    FEditor->setText(QString::number(4));
    FEditor->installEventFilter(this);
    setFocusProxy(FEditor);
    setFocusPolicy(Qt::StrongFocus);

    for (QToolButton* arrow : {FUp, FDown}) {
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setAutoRepeat(true);
        arrow->setIconSize(QSize(7, 4));
    }
    FUp->setAccessibleName(QStringLiteral("増やす"));
    FDown->setAccessibleName(QStringLiteral("減らす"));
    FUp->setArrowType(Qt::UpArrow);
    FDown->setArrowType(Qt::DownArrow);
    connect(FUp, &QToolButton::clicked, this, [this] { StepBy(1); });
    connect(FDown, &QToolButton::clicked, this, [this] { StepBy(-1); });
    connect(FEditor, &QLineEdit::textChanged, this, &TDigitSpinField::TextChanged);
}

int TDigitSpinField::Clamp(int value)
{
    return std::clamp(value, MinValue, MaxValue);
}

int TDigitSpinField::Value() const
{
    bool ok = false;
    const int value = FEditor->text().toInt(&ok, 10);
    return ok ? value : MinValue;
}

void TDigitSpinField::SetValue(int value)
{
    SetText(QString::number(Clamp(value)));
}

QString TDigitSpinField::Text() const
{
    return FEditor->text();
}

void TDigitSpinField::SetText(const QString& text)
{
    if (text != FEditor->text())
        FEditor->setText(text);
}

void TDigitSpinField::StepBy(int delta)
{
    SetValue(Value() + delta);
    FEditor->selectAll();
}

bool TDigitSpinField::AcceptsKey(const QKeyEvent& key) const
{
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)
        return false;
    const QString text = key.text();
    // Keys without text, shortcuts (paste among them) and control
    // characters are editing keys.
    if (text.isEmpty() || (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return true;
    if (text.size() != 1)
        return false;
    const QChar c = text.front();
    if (c.unicode() < 0x20 || c.unicode() == 0x7F)
        return true;
    return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || QString(c) == QLocale().decimalPoint();
}

// A context menu or a switch to another window takes the keyboard for a
// while but leaves the caret in the field: the user has not left it.
bool TDigitSpinField::LeavesTheField(const QFocusEvent& focus)
{
    return focus.reason() != Qt::PopupFocusReason && focus.reason() != Qt::ActiveWindowFocusReason;
}

bool TDigitSpinField::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != FEditor)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            StepBy(key->key() == Qt::Key_Up ? 1 : -1);
            return true;
        }
        if (!AcceptsKey(*key)) {
            QApplication::beep();
            return true;
        }
    } else if (event->type() == QEvent::FocusOut && LeavesTheField(*static_cast<QFocusEvent*>(event))) {
        // Out-of-range digits typed by hand are corrected only now.
        const int value = Value();
        if (value != Clamp(value))
            SetValue(value);
    }
    return QWidget::eventFilter(watched, event);
}

void TDigitSpinField::resizeEvent(QResizeEvent*)
{
    const int half = height() / 2;
    FEditor->setGeometry(0, 0, width(), height());
    FEditor->setTextMargins(0, 0, ArrowWidth, 0);
    FUp->setGeometry(width() - ArrowWidth - 2, 2, ArrowWidth, half - 2);
    FDown->setGeometry(width() - ArrowWidth - 2, half, ArrowWidth, height() - half - 2);
}
