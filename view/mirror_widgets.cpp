#include "view/mirror_widgets.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QStackedWidget>

#include <algorithm>

#include "ui/paint_manager.h"

namespace view {

namespace {

constexpr int kGroupHeaderHeight = 35;

/// A group box: a frame with a header row of 35 pixels (the title, then any child marked
/// header="true") above its rows. The title label is named so the mirror can find it.
QWidget* MakeGroupFrame(QWidget* parent) {
    auto* frame = new BoxWidget(parent);
    frame->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(frame);
    auto* header = new QWidget;
    header->setObjectName(QStringLiteral("groupHeader"));
    header->setFixedHeight(kGroupHeaderHeight);
    auto* headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(6, 0, 0, 0);
    auto* title = new QLabel;
    title->setObjectName(QStringLiteral("groupTitle"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    headerLayout->addWidget(title);
    layout->addWidget(header);
    return frame;
}

/// A row given less width than its children need lays them out at their own widths and lets
/// the box cut off the end, as a strip of tabs does; a plain box layout would pile them on top
/// of each other.
class RowLayout : public QHBoxLayout {
  public:
    using QHBoxLayout::QHBoxLayout;
    void setGeometry(const QRect& rect) override {
        const int least = minimumSize().width();
        QHBoxLayout::setGeometry(
            rect.width() >= least ? rect : QRect(rect.topLeft(), QSize(least, rect.height())));
    }
};

/// Whether the page stack is inside `control`: the box that holds it gives the form the
/// window's spare width.
bool HoldsPages(ui::Control& control) {
    if (control.GetClass() == "TabLayoutUI") return true;
    ui::Container* box = control.AsContainer();
    if (!box) return false;
    for (int i = 0; i < box->GetCount(); ++i) {
        if (HoldsPages(*box->GetItemAt(i))) return true;
    }
    return false;
}

/// Whether the children of a row are wider together than the row: a strip that shows part
/// of them at a time, as the row of page tabs does.
bool Overflows(ui::Control& row) {
    ui::Container* box = row.AsContainer();
    if (!box || row.GetClass() != "HorizontalLayoutUI") return false;
    int sum = 0;
    for (int i = 0; i < box->GetCount(); ++i) sum += box->GetItemAt(i)->GetFixedWidth();
    return sum > row.GetFixedWidth();
}

/// The value of `key='...'` in a DuiLib image description; empty when it has none.
std::string Quoted(std::string_view text, std::string_view key) {
    const std::string mark = std::string(key) + "='";
    const size_t start = text.find(mark);
    if (start == std::string_view::npos) return {};
    const size_t from = start + mark.size();
    const size_t end = text.find('\'', from);
    return std::string(text.substr(from, end == std::string_view::npos ? end : end - from));
}

}  // namespace

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void BoxWidget::SetLayoutWidth(int width, Width how) {
    width_ = width;
    how_ = how;
    switch (how) {
        case Width::Fixed:
            setFixedWidth(width);
            break;
        case Width::Grows:
            setMinimumWidth(0);
            setMaximumWidth(QWIDGETSIZE_MAX);
            break;
        case Width::Clips:
            setMinimumWidth(0);
            setMaximumWidth(width);
            break;
    }
    updateGeometry();
}

void BoxWidget::SetLeastHeight(int height) {
    leastHeight_ = height;
    setMinimumHeight(0);
    setMaximumHeight(QWIDGETSIZE_MAX);
    QSizePolicy policy = sizePolicy();
    policy.setVerticalPolicy(QSizePolicy::Fixed);
    setSizePolicy(policy);
    updateGeometry();
}

QSize BoxWidget::sizeHint() const {
    QSize size = QFrame::sizeHint();
    if (how_ != Width::Fixed && width_ > 0) size.setWidth(width_);
    if (leastHeight_ > 0)
        size.setHeight(std::max(leastHeight_, QFrame::minimumSizeHint().height()));
    return size;
}

QSize BoxWidget::minimumSizeHint() const {
    QSize size = QFrame::minimumSizeHint();
    if (how_ == Width::Clips) size.setWidth(0);
    if (leastHeight_ > 0) size.setHeight(std::max(leastHeight_, size.height()));
    return size;
}

void BoxWidget::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    if (how_ != Width::Clips || !stripWidthChanged ||
        event->size().width() == event->oldSize().width()) {
        return;
    }
    // Told once the layout has settled: what the program does with it may show or hide
    // widgets, which is no work for the middle of a resize.
    QMetaObject::invokeMethod(
        this, [this] { stripWidthChanged(width()); }, Qt::QueuedConnection);
}

bool IsBox(std::string_view cls) {
    return cls == "ContainerUI" || cls == "VerticalLayoutUI" || cls == "HorizontalLayoutUI" ||
           cls == "GroupBoxUI";
}

QWidget* MakeWidget(const ui::Control& control, QWidget* parent) {
    const std::string_view cls = control.GetClass();
    if (cls == "GroupBoxUI") return MakeGroupFrame(parent);
    if (IsBox(cls)) {
        auto* w = new BoxWidget(parent);
        if (cls == "HorizontalLayoutUI") {
            new RowLayout(w);
        } else {
            new QVBoxLayout(w);
        }
        return w;
    }
    if (cls == "TabLayoutUI") return new QStackedWidget(parent);
    if (cls == "ComboUI") return new DropDownCombo(parent);
    if (cls == "EditUI") return new QLineEdit(parent);
    if (cls == "ButtonUI" || cls == "OptionUI") return new QPushButton(parent);
    if (cls == "CheckBoxUI") return new QCheckBox(parent);
    if (cls == "ProgressUI") return new QProgressBar(parent);
    if (cls == "RichEditUI") {
        auto* edit = new QPlainTextEdit(parent);
        edit->setReadOnly(true);
        return edit;
    }
    if (cls == "ListLabelElementUI") return nullptr;
    return new QLabel(parent);
}

QLabel* GroupTitle(QWidget* frame) {
    return frame->findChild<QLabel*>(QStringLiteral("groupTitle"));
}

void ApplyWidth(ui::Control& control, QWidget* widget) {
    const int width = control.GetFixedWidth();
    if (width <= 0) return;
    auto* box = dynamic_cast<BoxWidget*>(widget);
    if (!box) return widget->setFixedWidth(width);
    // The form pages scroll, so the column that holds them may give way on a small screen
    // and take the room of a large one; the strip of page tabs cuts off its last tab.
    using Width = BoxWidget::Width;
    box->SetLayoutWidth(width, HoldsPages(control)  ? Width::Grows
                               : Overflows(control) ? Width::Clips
                                                    : Width::Fixed);
}

void ApplyHeight(ui::Control& control, QWidget* widget) {
    const int height = control.GetFixedHeight();
    if (height <= 0) return;
    auto* box = dynamic_cast<BoxWidget*>(widget);
    // A group box shows or hides rows as its options change; a fixed height would clip them.
    if (box && control.GetClass() == "GroupBoxUI") return box->SetLeastHeight(height);
    widget->setFixedHeight(height);
}

void ApplyBackgroundImage(QWidget* widget, std::string_view value) {
    const bool described = value.find("file='") != std::string_view::npos;
    const std::string file = described ? Quoted(value, "file") : std::string(value);
    const QString path = Q(ui::PaintManager::GetResourcePath() + "/" + file);
    if (!QFileInfo::exists(path)) return;
    QString style = QStringLiteral("border-image: url(%1)").arg(path);
    const QStringList corner = Q(Quoted(value, "corner")).split(QChar(','));
    if (corner.size() == 4) {  // left, top, right, bottom
        const QString t = corner[1], r = corner[2], b = corner[3], l = corner[0];
        style += QStringLiteral(" %1 %2 %3 %4 stretch stretch; border-width: %1px %2px %3px %4px")
                     .arg(t, r, b, l);
    }
    widget->setStyleSheet(style + QChar(';'));
}

void ShowFieldMarks(QWidget* field, bool changed, const QString& invalidReason) {
    // An amber edge reads on the light and the dark palettes alike and needs no words, so it
    // serves the English and the Chinese labels the same; the bold label says it a second way.
    // A value the unit will likely refuse gets a red frame, and the tooltip says why.
    static const QString kMarked = QStringLiteral(
        "QLineEdit, QComboBox { border: 1px solid palette(mid); border-left: 5px solid #e08a00;"
        " padding: 1px 2px; }");
    static const QString kInvalid = QStringLiteral(
        "QLineEdit, QComboBox { border: 2px solid #d32f2f; border-left: 5px solid #d32f2f;"
        " padding: 0px 2px; }");
    const bool invalid = !invalidReason.isEmpty();
    if (field->property("invalid").toBool() || invalid) {
        // The field's own tooltip is kept aside while the reason takes its place.
        if (!field->property("invalid").toBool()) field->setProperty("ownTip", field->toolTip());
        field->setToolTip(invalid ? invalidReason : field->property("ownTip").toString());
    }
    field->setProperty("changed", changed);
    field->setProperty("invalid", invalid);
    field->setStyleSheet(invalid ? kInvalid : changed ? kMarked : QString());
    if (!field->parentWidget()) return;
    for (QLabel* label : field->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (label->buddy() != field) continue;
        QFont font = label->font();
        font.setBold(changed);
        label->setFont(font);
    }
}

bool Stretches(ui::Control& child, bool horizontal) {
    const std::string_view cls = child.GetClass();
    if (horizontal && IsBox(cls) && HoldsPages(child)) return true;
    const int fixed = horizontal ? child.GetFixedWidth() : child.GetFixedHeight();
    if (fixed > 0) return false;
    return IsBox(cls) || cls == "TabLayoutUI" || cls == "RichEditUI" ||
           (horizontal &&
            (cls == "ComboUI" || cls == "EditUI" || cls == "ButtonUI" || cls == "OptionUI"));
}

}  // namespace view
