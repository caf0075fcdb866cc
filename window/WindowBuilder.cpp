#include "WindowBuilder.h"

#include <algorithm>
#include <cstring>

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>

#include "AnchorLayout.h"
#include "DigitSpinField.h"
#include "MiniHelp.h"
#include "PageControl.h"
#include "PictureBox.h"
#include "UrlListModel.h"
#include "UrlListView.h"

namespace {

constexpr int FontPixels = 12;
// Edit lines take text of any length; the toolkit's default cap would cut
// long URLs silently.
constexpr int UnlimitedLength = 1 << 24;
// A group box's frame and title, which docked children keep clear of.
const QMargins GroupBoxInsets(2, 14, 2, 2);

bool IsContainer(TControlKind kind)
{
    return kind == TControlKind::PageControl || kind == TControlKind::Page || kind == TControlKind::Panel
           || kind == TControlKind::GroupBox;
}

// Labels size to their text; check box captions are never cut, whatever
// the width of the font this desktop substitutes.
TWidthRule WidthRuleOf(TControlKind kind)
{
    switch (kind) {
    case TControlKind::Label:
    case TControlKind::FixedLabel:
        return TWidthRule::FitsContent;
    case TControlKind::CheckBox:
        return TWidthRule::AtLeastContent;
    default:
        return TWidthRule::Fixed;
    }
}

// Group boxes as this window's layout expects them: the title sits on the
// frame's top line, leaving the box's inside to the controls placed in it.
const char* const GroupBoxStyle =
    "QGroupBox { border: 1px solid palette(mid); border-radius: 0px; margin-top: 6px; }"
    "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
    " left: 7px; padding: 0px 1px; }";

QString Utf8(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}

QFont PixelFont(const QStringList& families, QFont::StyleHint hint)
{
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(hint);
    font.setPixelSize(FontPixels);
    return font;
}

}  // namespace

TFormFonts MainWindowFonts()
{
    return {PixelFont({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")}, QFont::SansSerif),
            PixelFont({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic")}, QFont::Monospace)};
}

TWindowBuilder::TWindowBuilder(QWidget* form, TUrlList& list)
    : FForm(form), FList(list), FFonts(MainWindowFonts())
{
    FWidgets[QStringLiteral("MainWindow")] = form;
    form->setFont(FFonts.Proportional);
}

void TWindowBuilder::Build(const std::vector<TControlDescription>& descriptions)
{
    FDescriptions = descriptions;
    for (const TControlDescription& item : FDescriptions) {
        QWidget* container = Find(Utf8(item.Parent));
        QWidget* control = Create(item, container);
        control->setObjectName(Utf8(item.Name));
        if (item.Tooltip)
            control->setToolTip(Utf8(item.Tooltip));
        if (item.AccessibleName) {
            control->setAccessibleName(Utf8(item.AccessibleName));
            if (auto* digits = qobject_cast<TDigitSpinField*>(control))
                digits->Editor()->setAccessibleName(Utf8(item.AccessibleName));
        }
        FWidgets[control->objectName()] = control;
        // Pictures and labels are painted on their container, beneath the
        // controls that have windows of their own.
        if (item.Kind == TControlKind::Picture || item.Kind == TControlKind::Label
            || item.Kind == TControlKind::FixedLabel)
            control->lower();
        if (item.Kind == TControlKind::Page)
            continue;  // the page control places its pages itself
        LayoutFor(container, item.Parent)
            ->Add(control, item.Place, item.Align, item.Anchors, WidthRuleOf(item.Kind));
    }
    ChainFocus();
    ApplyLayouts();
}

QWidget* TWindowBuilder::Create(const TControlDescription& item, QWidget* container)
{
    const QString text = Utf8(item.Text);
    switch (item.Kind) {
    case TControlKind::PageControl:
        return new TPageControl(container);
    case TControlKind::Page:
        return static_cast<TPageControl*>(container)->AddPage(Utf8(item.Name), text);
    case TControlKind::StatusBar: {
        auto* bar = new QStatusBar(container);
        bar->setSizeGripEnabled(true);
        bar->setStyleSheet(QStringLiteral("QStatusBar::item { border: none; }"));
        auto* line = new QLabel(bar);
        line->setObjectName(QStringLiteral("StatusText"));
        line->setTextInteractionFlags(Qt::NoTextInteraction);
        line->setTextFormat(Qt::PlainText);
        // A long message is cut at the window's edge, never widening it.
        line->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        bar->addWidget(line, 1);
        return bar;
    }
    case TControlKind::Panel: {
        auto* panel = new QFrame(container);
        panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
        panel->setLineWidth(1);
        return panel;
    }
    case TControlKind::GroupBox: {
        auto* box = new QGroupBox(text, container);
        box->setStyleSheet(QString::fromLatin1(GroupBoxStyle));
        return box;
    }
    case TControlKind::Button: {
        auto* button = new QPushButton(text, container);
        button->setAutoDefault(false);
        return button;
    }
    case TControlKind::Edit:
    case TControlKind::FlatEdit: {
        auto* edit = new QLineEdit(text, container);
        edit->setMaxLength(UnlimitedLength);
        if (item.Kind == TControlKind::FlatEdit) {
            edit->setFrame(false);
            QPalette palette = edit->palette();
            palette.setColor(QPalette::Base, palette.color(QPalette::Light));
            edit->setPalette(palette);
        }
        return edit;
    }
    case TControlKind::Spin:
        return new TDigitSpinField(container);
    case TControlKind::CheckBox:
        return new QCheckBox(text, container);
    case TControlKind::Label:
    case TControlKind::FixedLabel: {
        auto* label = new QLabel(text, container);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // Captions show typed text (the sample's prefix) as it is, never as markup.
        label->setTextFormat(Qt::PlainText);
        if (item.Kind == TControlKind::FixedLabel)
            label->setFont(FFonts.Fixed);
        return label;
    }
    case TControlKind::UrlList:
        return new TUrlListView(FList, container);
    case TControlKind::HelpList: {
        auto* help = new QListWidget(container);
        help->setSelectionMode(QAbstractItemView::SingleSelection);
        help->setUniformItemSizes(true);
        help->addItems(MiniHelpLines());
        return help;
    }
    case TControlKind::Memo: {
        auto* memo = new QPlainTextEdit(container);
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        // Tab moves on to the next control, as the keyboard order promises.
        memo->setTabChangesFocus(true);
        return memo;
    }
    case TControlKind::Picture: {
        auto* picture = new TPictureBox(container);
        picture->setVisible(false);
        return picture;
    }
    }
    return new QWidget(container);
}

TAnchorLayout* TWindowBuilder::LayoutFor(QWidget* container, const char* containerName)
{
    if (TAnchorLayout* existing = LayoutOf(container))
        return existing;
    QSize design = MainWindowClientSize;
    QMargins insets;
    if (const TControlDescription* owner = DescriptionOf(containerName)) {
        if (owner->Kind == TControlKind::Page) {
            design = TPageControl::PageRect(DescriptionOf(owner->Parent)->Place.size()).size();
        } else {
            design = owner->Place.size();
            if (owner->Kind == TControlKind::GroupBox)
                insets = GroupBoxInsets;
        }
    }
    auto* layout = new TAnchorLayout(container, design, insets);
    FLayouts.emplace_back(container, layout);
    return layout;
}

// The described control of that name; nullptr for the form itself.
const TControlDescription* TWindowBuilder::DescriptionOf(const char* name) const
{
    for (const TControlDescription& s : FDescriptions)
        if (std::strcmp(s.Name, name) == 0)
            return &s;
    return nullptr;
}

QWidget* TWindowBuilder::Find(const QString& name) const
{
    const auto found = FWidgets.find(name);
    return found == FWidgets.end() ? nullptr : found->second;
}

TAnchorLayout* TWindowBuilder::LayoutOf(QWidget* container) const
{
    for (const auto& [widget, layout] : FLayouts)
        if (widget == container)
            return layout;
    return nullptr;
}

void TWindowBuilder::ApplyLayouts() const
{
    FForm->resize(MainWindowClientSize);
    for (const auto& [widget, layout] : FLayouts) {
        layout->Apply();
        // Hidden widgets get no resize events, so the pages follow by hand.
        if (widget == FForm)
            for (auto* pages : FForm->findChildren<TPageControl*>())
                pages->LayoutPages();
    }
}

std::vector<QWidget*> TWindowBuilder::FocusOrder(const char* container) const
{
    std::vector<const TControlDescription*> children;
    for (const TControlDescription& s : FDescriptions)
        if (std::strcmp(s.Parent, container) == 0 && s.Tab >= 0)
            children.push_back(&s);
    std::stable_sort(
        children.begin(), children.end(),
        [](const TControlDescription* a, const TControlDescription* b) { return a->Tab < b->Tab; });

    std::vector<QWidget*> order;
    for (const TControlDescription* child : children) {
        QWidget* widget = Find(Utf8(child->Name));
        if (child->Kind == TControlKind::PageControl)
            order.push_back(static_cast<TPageControl*>(widget)->TabBar());
        if (!IsContainer(child->Kind)) {
            order.push_back(widget);
            continue;
        }
        const std::vector<QWidget*> inner = FocusOrder(child->Name);
        order.insert(order.end(), inner.begin(), inner.end());
    }
    return order;
}

void TWindowBuilder::ChainFocus() const
{
    const std::vector<QWidget*> order = FocusOrder("MainWindow");
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}
