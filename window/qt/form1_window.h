// Form1 as a Qt Widgets window: built from the layout table, wired to Form1's procedures.
#pragma once

#include "form1.h"
#include "qt_controls.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QScrollBar;

namespace kestrova {

class Form1Window : public QWidget {
public:
    // Builds the window and runs Form_Load; the window is not shown yet.
    explicit Form1Window(QWidget* parent = nullptr);

private:
    struct Widgets {
        QComboBox* Combo1;
        QScrollBar* HScroll1;
        QLabel* Label1;
        QLabel* Label2;
        QLabel* Label7;
        QLabel* Label8;
    };

    Widgets createControls();
    void connectEvents();

    Widgets widgets_;
    QtListControl combo1_;
    QtScrollBarControl hscroll1_;
    QtLabelControl label1_;
    QtLabelControl label2_;
    QtLabelControl label7_;
    QtLabelControl label8_;
    SystemRegionalSettings regionalSettings_;
    Form1 form_;
};

// The satellite picture in the sizes window icons use.
QIcon satelliteIcon();

// The satellite picture at a shipped size (16, 24, 32, 48, 64, 128 or 256 pixels).
QImage shippedPicture(int size);

} // namespace kestrova
