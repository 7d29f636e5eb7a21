// Builds Form1's native widgets from the shared layout and maps Qt's signals to the procedures.
#include "form1_window.h"

#include "colours.h"
#include "screen_reader.h"

#include <QAccessibleWidget>
#include <QFontDatabase>
#include <QIcon>
#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QWindow>

namespace kestrova {
namespace {

// Qt lays widgets out in device-independent pixels and scales them for the screen itself.
int pixels(int twips) {
    return twipsToPixels(twips, 96);
}

QColor toQColor(Colour colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

// A horizontal scroll bar that is also the keyboard's tuning knob, with the keys of a Windows
// scroll bar: Left and Up lower, Right and Down raise; right-to-left mirrors Left and Right.
class TuningScrollBar : public QScrollBar {
public:
    explicit TuningScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool mirrored = isRightToLeft();
        const std::pair<int, SliderAction> keys[] = {
            {Qt::Key_Left, mirrored ? SliderSingleStepAdd : SliderSingleStepSub},
            {Qt::Key_Right, mirrored ? SliderSingleStepSub : SliderSingleStepAdd},
            {Qt::Key_Up, SliderSingleStepSub},
            {Qt::Key_Down, SliderSingleStepAdd},
            {Qt::Key_PageUp, SliderPageStepSub},
            {Qt::Key_PageDown, SliderPageStepAdd},
            {Qt::Key_Home, SliderToMinimum},
            {Qt::Key_End, SliderToMaximum}};
        for (const auto& [key, action] : keys) {
            if (event->key() == key) {
                return triggerAction(action);
            }
        }
        QWidget::keyPressEvent(event); // not a tuning key: passed on
    }

    void paintEvent(QPaintEvent* event) override {
        QScrollBar::paintEvent(event);
        if (hasFocus()) { // most styles draw no focus on a scroll bar
            QStylePainter painter(this);
            QStyleOptionFocusRect option;
            option.initFrom(this);
            option.rect = rect().adjusted(1, 1, -1, -1);
            painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
        }
    }
};

// The window as the labels' and the tuner's accessible objects read it.
const Form1Window& formOf(const QWidget* control) {
    return *static_cast<const Form1Window*>(control->parentWidget());
}

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
using AttributesInterface = QAccessibleAttributesInterface;
void* asAttributes(AttributesInterface* self, QAccessible::InterfaceType type) {
    return type == QAccessible::AttributesInterface ? self : nullptr;
}
#else
struct AttributesInterface {}; // before Qt 6.8 the accessibility bridge adds the attribute
void* asAttributes(AttributesInterface*, QAccessible::InterfaceType) {
    return nullptr;
}
#endif

// The tuner as a screen reader sees it: a scroll bar whose value reads as both frequencies,
// the same text as its "valuetext" attribute, which Orca speaks instead of the number.
class TunerAccessible : public QAccessibleWidget,
                        public QAccessibleValueInterface,
                        public AttributesInterface {
public:
    explicit TunerAccessible(QScrollBar* tuner)
        : QAccessibleWidget(tuner, QAccessible::ScrollBar), tuner_(tuner) {}
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        void* attributes = asAttributes(this, type);
        return attributes ? attributes : QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? formOf(tuner_).tuningText()
                                          : QAccessibleWidget::text(kind);
    }
    QVariant currentValue() const override { return tuner_->value(); }
    void setCurrentValue(const QVariant& value) override { tuner_->setValue(value.toInt()); }
    QVariant maximumValue() const override { return tuner_->maximum(); }
    QVariant minimumValue() const override { return tuner_->minimum(); }
    QVariant minimumStepSize() const override { return tuner_->singleStep(); }
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QList<QAccessible::Attribute> attributeKeys() const override {
        return {QAccessible::Attribute::Custom};
    }
    QVariant attributeValue(QAccessible::Attribute key) const override {
        if (key != QAccessible::Attribute::Custom) {
            return {};
        }
        QHash<QString, QString> attributes;
        attributes.insert(QStringLiteral("valuetext"), text(QAccessible::Value));
        return QVariant::fromValue(attributes);
    }
#endif

private:
    QScrollBar* tuner_;
};

// A display or sideband label, named by its meaning and what it shows: readers such as Orca's
// flat review read a label by its name alone.
class LabelAccessible : public QAccessibleWidget {
public:
    LabelAccessible(QLabel* label, Control id)
        : QAccessibleWidget(label, QAccessible::StaticText), label_(label), id_(id) {}
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name
                   ? QString::fromStdString(heardLabel(id_, label_->text().toStdString()))
                   : QAccessibleWidget::text(kind);
    }

private:
    QLabel* label_;
    Control id_;
};

QAccessibleInterface* accessibleFactory(const QString&, QObject* object) {
    if (auto* tuner = dynamic_cast<TuningScrollBar*>(object)) {
        return new TunerAccessible(tuner);
    }
    auto* label = qobject_cast<QLabel*>(object);
    if (label == nullptr || dynamic_cast<Form1Window*>(label->parentWidget()) == nullptr) {
        return nullptr;
    }
    for (Control c : {Control::Label1, Control::Label2, Control::Label7, Control::Label8}) {
        if (label->objectName() == QLatin1String(kForm1[c].name)) {
            return new LabelAccessible(label, c);
        }
    }
    return nullptr;
}

// The layout's face if it is installed, else the first of its stand-ins that is. Looked up in
// the list of installed families, which Qt reads at the first text anyway: a missing face costs
// Qt a search of the system's substitutes for every size asked of it.
QString installedFace(std::string_view family) {
    static const QStringList installed = QFontDatabase::families();
    return QString::fromUtf8(usableFace(family, [](std::string_view face) {
        return installed.contains(QString::fromUtf8(face), Qt::CaseInsensitive);
    }));
}

QFont qFont(const FontSpec& wanted) {
    QFont font(installedFace(wanted.family));
    font.setPointSizeF(wanted.points);
    font.setBold(wanted.bold);
    return font;
}

QWidget* createWidget(const ControlLayout& layout, QWidget* parent) {
    switch (layout.kind) {
    case ControlKind::Label: {
        auto* label = new FittedLabel(parent);
        label->setObjectName(QString::fromUtf8(layout.name)); // first: it picks the accessible
        label->setTextFormat(Qt::PlainText);
        label->setText(QString::fromUtf8(layout.text)); // fitted once it is shown
        if (layout.display) {
            label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setLineWidth(2);
            label->setAutoFillBackground(true);
        }
        return label;
    }
    case ControlKind::ScrollBar: {
        auto* scrollBar = new TuningScrollBar(parent);
        scrollBar->setSingleStep(kForm1.smallChange);
        scrollBar->setPageStep(kForm1.largeChange);
        return scrollBar;
    }
    case ControlKind::DropDownList: {
        auto* list = new QComboBox(parent);
        // On Linux Qt names a list after its entry; say what it is for as well.
        list->setAccessibleDescription(QString::fromUtf8(layout.accessibleName));
        return list;
    }
    case ControlKind::Image:
        return new QLabel(parent);
    }
    return nullptr;
}

// The satellite drawn at the given shipped sizes; Qt draws from the smallest that covers what
// is asked, and never enlarges it.
QIcon satellite(std::initializer_list<int> sizes) {
    QIcon icon;
    for (int size : sizes) {
        icon.addFile(QStringLiteral(":/kestrova/icons/kestrova-%1.png").arg(size), {size, size});
    }
    return icon;
}

} // namespace

// The largest size up to the layout's at which the text fits the box, in half points; measured
// once the label is shown, as measuring loads the font.
void FittedLabel::fit() {
    if (!isVisible()) {
        return;
    }
    QFont font = layoutFont_;
    const QRect box = contentsRect();
    for (qreal points = font.pointSizeF(); points > 1; points -= 0.5) {
        font.setPointSizeF(points);
        const QFontMetrics metrics(font);
        if (metrics.horizontalAdvance(text()) <= box.width() && metrics.height() <= box.height()) {
            break;
        }
    }
    if (font != this->font()) {
        setFont(font);
    }
}

Form1Window::Form1Window(QWidget* parent)
    : QWidget(parent), widgets_(createControls()),
      combo1_(static_cast<QComboBox*>(control(Control::Combo1))),
      hscroll1_(static_cast<QScrollBar*>(control(Control::HScroll1))),
      label1_(static_cast<FittedLabel*>(control(Control::Label1))),
      label2_(static_cast<FittedLabel*>(control(Control::Label2))),
      label7_(static_cast<FittedLabel*>(control(Control::Label7))),
      label8_(static_cast<FittedLabel*>(control(Control::Label8))),
      form_({combo1_, hscroll1_, label1_, label2_, label7_, label8_}, regionalSettings_),
      screenReaders_(new AtSpiBridge(
          hscroll1_.scrollBar, [this] { return tuningText(); }, this)) {
    QScrollBar* scrollBar = hscroll1_.scrollBar;
    connect(combo1_.list, &QComboBox::activated, this, [this] {
        form_.Combo1_Click();
        screenReaders_->entryChanged(combo1_.list);
    });
    // While the thumb is dragged every position is a scroll event; the release, and every
    // other move (arrows, trough, keys, a range that shrank), is a change.
    connect(scrollBar, &QScrollBar::valueChanged, this, [this, scrollBar] {
        scrollBar->isSliderDown() ? form_.HScroll1_Scroll() : form_.HScroll1_Change();
    });
    connect(scrollBar, &QScrollBar::sliderReleased, this, [this] { form_.HScroll1_Change(); });
    form_.Form_Load();
    colourSidebands(); // the picture comes when the window is shown, for its screen
    control(Control::HScroll1)->setFocus();
}

std::array<QWidget*, kControlCount> Form1Window::createControls() {
    QAccessible::installFactory(accessibleFactory);
    setObjectName(QString::fromUtf8(kForm1.name));
    setWindowTitle(QString::fromUtf8(kForm1.caption));
    // The window system takes every size of a window icon at once; up to 64 pixels covers a
    // title bar or task bar at twice the usual scale.
    setWindowIcon(satellite({16, 24, 32, 48, 64}));
    // A fixed frame: the layout is absolute, so there is nothing to gain from resizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(pixels(kForm1.clientWidth), pixels(kForm1.clientHeight));
    setFont(qFont(kForm1.font)); // not the desktop's: the layout is drawn for its own

    std::array<QWidget*, kControlCount> widgets{}; // created in tab order
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlLayout& layout = kForm1.controls[i];
        QWidget* widget = widgets[i] = createWidget(layout, this);
        widget->setObjectName(QString::fromUtf8(layout.name));
        if (layout.kind != ControlKind::Label) { // a label's name follows its text
            widget->setAccessibleName(QString::fromUtf8(layout.accessibleName));
        }
        const Box& box = layout.box;
        widget->setGeometry(pixels(box.left), pixels(box.top), pixels(box.width),
                            pixels(box.height));
        if (layout.font) {
            widget->setFont(qFont(*layout.font));
        }
        if (layout.display) {
            QPalette palette = widget->palette();
            palette.setColor(QPalette::WindowText, toQColor(layout.display->text));
            palette.setColor(QPalette::Window, toQColor(layout.display->background));
            widget->setPalette(palette);
        }
        if (layout.kind == ControlKind::Label) {
            static_cast<FittedLabel*>(widget)->setLayoutFont(widget->font());
        }
    }
    return widgets;
}

QString Form1Window::tuningText() const {
    return QString::fromStdString(tuningAnnouncement(label1_.label->text().toStdString(),
                                                     label2_.label->text().toStdString()));
}

// The sideband labels keep their blue where it reads on the theme's background, and take a
// lighter blue of the same hue where it does not.
void Form1Window::colourSidebands() {
    const QColor background = palette().color(QPalette::Window);
    const Colour back{static_cast<std::uint8_t>(background.red()),
                      static_cast<std::uint8_t>(background.green()),
                      static_cast<std::uint8_t>(background.blue())};
    for (Control sideband : {Control::Label7, Control::Label8}) {
        QPalette palette = control(sideband)->palette();
        palette.setColor(QPalette::WindowText,
                         toQColor(readableOn(*kForm1[sideband].textColour, back)));
        control(sideband)->setPalette(palette);
    }
}

// The picture at its natural size, as sharp as the screen's scale allows: drawn from the
// smallest shipped image that covers it, the only one read.
void Form1Window::showPicture() {
    const qreal scale = devicePixelRatioF();
    int shipped = 64;
    while (shipped < 256 && shipped < 64 * scale) {
        shipped *= 2;
    }
    static_cast<QLabel*>(control(Control::Image1))
        ->setPixmap(satellite({shipped}).pixmap({64, 64}, scale));
}

bool Form1Window::event(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        colourSidebands();
    } else if (event->type() == QEvent::Show && !screenWatched_) {
        screenWatched_ = true; // the window now has its handle
        connect(windowHandle(), &QWindow::screenChanged, this, &Form1Window::followScreen);
        followScreen(windowHandle()->screen());
    }
    return QWidget::event(event);
}

// The picture is drawn again for a screen of another scale, or its scale changing.
void Form1Window::followScreen(QScreen* screen) {
    for (const QMetaObject::Connection& connection : screenConnections_) {
        disconnect(connection);
    }
    screenConnections_ = {
        connect(screen, &QScreen::logicalDotsPerInchChanged, this, &Form1Window::showPicture),
        connect(screen, &QScreen::physicalDotsPerInchChanged, this, &Form1Window::showPicture)};
    showPicture();
}

} // namespace kestrova
