// Builds Form1's native widgets from the shared layout and maps Qt's signals to the procedures.
#include "form1_window.h"

#include "layout.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMap>
#include <QResource>
#include <QScrollBar>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QtMath>

#include <cstring>

namespace kestrova {
namespace {

// Qt lays widgets out in device-independent pixels and scales them for the screen itself.
int pixels(int twips) {
    return twipsToPixels(twips, 96);
}

constexpr int kPictureSizes[] = {16, 24, 32, 48, 64, 128, 256};
constexpr int kPictureSize = 64; // Image1 shows the picture at its natural size
constexpr char kAccessibleUnitProperty[] = "kestrovaAccessibleUnit";

// The picture at its natural size, drawn from the smallest shipped size that covers the
// screen's scale, so that it is never blown up.
QPixmap naturalSizePicture(qreal devicePixelRatio) {
    const int needed = qCeil(kPictureSize * devicePixelRatio);
    int size = kPictureSizes[std::size(kPictureSizes) - 1];
    for (int shipped : kPictureSizes) {
        if (shipped >= needed) {
            size = shipped;
            break;
        }
    }
    QImage picture = shippedPicture(size);
    if (size != needed) {
        picture = picture.scaled(needed, needed, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    picture.setDevicePixelRatio(devicePixelRatio);
    return QPixmap::fromImage(std::move(picture));
}

// A label that a screen reader names (say "Uplink frequency") and describes by what it shows
// now (say "146.000 MHz"). The description is made when asked for, so that tuning costs
// nothing while no screen reader listens.
class CaptionAccessible : public QAccessibleWidget {
public:
    explicit CaptionAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Description) {
            const auto* label = static_cast<const QLabel*>(widget());
            return label->text() + label->property(kAccessibleUnitProperty).toString();
        }
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* captionAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("QLabel") &&
        object->property(kAccessibleUnitProperty).isValid()) {
        return new CaptionAccessible(static_cast<QLabel*>(object));
    }
    return nullptr;
}

QColor toQColor(const Colour& colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

// The faces the window names are Windows fonts; where they are missing, their
// metric-compatible stand-ins are used, and failing those a common sans face. Naming an
// installed face spares Qt a search through fontconfig's fallbacks for each missing one.
QString installedFamily(std::string_view windowsFamily) {
    static const QMap<QString, QStringList> standIns = {
        {QStringLiteral("Arial"), {"Liberation Sans", "Arimo", "DejaVu Sans"}},
        {QStringLiteral("MS Sans Serif"),
         {"Microsoft Sans Serif", "Liberation Sans", "DejaVu Sans"}},
    };
    // The installed families, not QFontDatabase::hasFamily: that resolves each name through
    // fontconfig's substitution rules, which costs more than the rest of start-up together.
    const QStringList installed = QFontDatabase::families();
    const QString family = fromUtf8(windowsFamily);
    if (installed.contains(family)) {
        return family;
    }
    for (const QString& standIn : standIns.value(family)) {
        if (installed.contains(standIn)) {
            return standIn;
        }
    }
    return family; // nothing listed is installed: fontconfig chooses
}

// A horizontal scroll bar that is also the keyboard's tuning knob. QScrollBar inverts its
// controls so that the wheel scrolls like a page, which would make the left arrow tune up.
class TuningScrollBar : public QScrollBar {
public:
    explicit TuningScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool mirrored = isRightToLeft();
        switch (event->key()) {
        case Qt::Key_Left:
            triggerAction(mirrored ? SliderSingleStepAdd : SliderSingleStepSub);
            break;
        case Qt::Key_Right:
            triggerAction(mirrored ? SliderSingleStepSub : SliderSingleStepAdd);
            break;
        case Qt::Key_Up:
            triggerAction(SliderSingleStepAdd);
            break;
        case Qt::Key_Down:
            triggerAction(SliderSingleStepSub);
            break;
        default:
            QScrollBar::keyPressEvent(event);
            return;
        }
        event->accept();
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

QWidget* createWidget(const ControlLayout& layout, QWidget* parent) {
    switch (layout.kind) {
    case ControlKind::Label: {
        auto* label = new QLabel(parent);
        // Before the text: setting it makes Qt create and keep the label's accessible
        // interface, which must already be ours.
        if (!layout.accessibleName.empty()) {
            label->setProperty(kAccessibleUnitProperty, fromUtf8(layout.accessibleUnit));
        }
        label->setTextFormat(Qt::PlainText); // captions are never markup; no check needed
        label->setText(fromUtf8(layout.text));
        if (layout.centred) {
            label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        }
        if (layout.sunkenBorder) {
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setLineWidth(2);
        }
        return label;
    }
    case ControlKind::ScrollBar: {
        auto* scrollBar = new TuningScrollBar(parent);
        scrollBar->setRange(0, 32767);
        scrollBar->setValue(0);
        scrollBar->setSingleStep(form1Layout().smallChange);
        scrollBar->setPageStep(form1Layout().largeChange);
        return scrollBar;
    }
    case ControlKind::DropDownList: {
        auto* comboBox = new QComboBox(parent);
        comboBox->setEditable(false);
        // On Linux Qt names a combo box after its current entry; say what it is for as well.
        comboBox->setAccessibleDescription(fromUtf8(layout.accessibleName));
        return comboBox;
    }
    case ControlKind::Image: {
        auto* image = new QLabel(parent);
        image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        image->setPixmap(naturalSizePicture(image->devicePixelRatioF()));
        return image;
    }
    }
    return nullptr;
}

void applyLayout(QWidget* widget, const ControlLayout& layout) {
    widget->setObjectName(fromUtf8(layout.name));
    widget->setGeometry(pixels(layout.left), pixels(layout.top), pixels(layout.width),
                        pixels(layout.height));
    // Fixed sizes also spare the window a layout request each time a caption changes.
    widget->setFixedSize(widget->size());
    if (layout.font) {
        QFont font(installedFamily(layout.font->family));
        font.setPointSizeF(layout.font->points);
        font.setBold(layout.font->bold);
        widget->setFont(font);
    }
    if (layout.textColour || layout.backColour) {
        QPalette palette = widget->palette();
        if (layout.textColour) {
            palette.setColor(QPalette::WindowText, toQColor(*layout.textColour));
        }
        if (layout.backColour) {
            palette.setColor(QPalette::Window, toQColor(*layout.backColour));
            widget->setAutoFillBackground(true);
        }
        widget->setPalette(palette);
    }
    if (!layout.accessibleName.empty()) {
        widget->setAccessibleName(fromUtf8(layout.accessibleName));
    }
}

} // namespace

// The picture at one of its shipped sizes. Sizes up to the natural one are stored as raw
// pixels, so that start-up decodes nothing; larger ones, for scaled screens, as PNG.
QImage shippedPicture(int size) {
    if (size > kPictureSize) {
        return QImage(QStringLiteral(":/kestrova/icons/kestrova-%1.png").arg(size));
    }
    const QResource raw(QStringLiteral(":/kestrova/icons/kestrova-%1.rgba").arg(size));
    QImage image(size, size, QImage::Format_RGBA8888_Premultiplied);
    const auto bytes = static_cast<std::size_t>(image.sizeInBytes());
    if (static_cast<std::size_t>(raw.size()) != bytes) {
        return {};
    }
    std::memcpy(image.bits(), raw.data(), bytes);
    return image;
}

QIcon satelliteIcon() {
    // The larger sizes are for the desktop's launchers, which take the installed icons; a
    // window icon up to 64 pixels covers a title bar or task bar at twice the usual scale.
    QIcon icon;
    for (int size : kPictureSizes) {
        if (size <= kPictureSize) {
            icon.addPixmap(QPixmap::fromImage(shippedPicture(size)));
        }
    }
    return icon;
}

Form1Window::Form1Window(QWidget* parent)
    : QWidget(parent), widgets_(createControls()), combo1_(widgets_.Combo1),
      hscroll1_(widgets_.HScroll1), label1_(widgets_.Label1), label2_(widgets_.Label2),
      label7_(widgets_.Label7), label8_(widgets_.Label8),
      form_({combo1_, hscroll1_, label1_, label2_, label7_, label8_}, regionalSettings_) {
    connectEvents();
    form_.Form_Load();
    widgets_.HScroll1->setFocus();
}

Form1Window::Widgets Form1Window::createControls() {
    static const bool accessibilityFactoryInstalled = [] {
        QAccessible::installFactory(captionAccessibleFactory);
        return true;
    }();
    Q_UNUSED(accessibilityFactoryInstalled);
    const FormLayout& layout = form1Layout();
    setObjectName(fromUtf8(layout.name));
    setWindowTitle(fromUtf8(layout.caption));
    setWindowIcon(satelliteIcon());
    // A fixed frame: the layout is absolute, so there is nothing to gain from resizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(pixels(layout.clientWidth), pixels(layout.clientHeight));

    QWidget* previousInTabOrder = nullptr;
    for (const ControlLayout& control : layout.controls) {
        QWidget* widget = createWidget(control, this);
        applyLayout(widget, control);
        if (widget->focusPolicy() != Qt::NoFocus) {
            if (previousInTabOrder != nullptr) {
                setTabOrder(previousInTabOrder, widget);
            }
            previousInTabOrder = widget;
        }
    }
    return {findChild<QComboBox*>("Combo1"), findChild<QScrollBar*>("HScroll1"),
            findChild<QLabel*>("Label1"),    findChild<QLabel*>("Label2"),
            findChild<QLabel*>("Label7"),    findChild<QLabel*>("Label8")};
}

void Form1Window::connectEvents() {
    QScrollBar* scrollBar = widgets_.HScroll1;
    connect(widgets_.Combo1, &QComboBox::activated, this, [this] { form_.Combo1_Click(); });
    // While the thumb is dragged every position is a scroll event; the release, and every
    // other move (arrows, trough, keys, a range that shrank), is a change.
    connect(scrollBar, &QScrollBar::valueChanged, this, [this, scrollBar] {
        if (scrollBar->isSliderDown()) {
            form_.HScroll1_Scroll();
        } else {
            form_.HScroll1_Change();
        }
    });
    connect(scrollBar, &QScrollBar::sliderReleased, this, [this] { form_.HScroll1_Change(); });
}

} // namespace kestrova
