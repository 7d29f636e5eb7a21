// Form1 as a Qt Widgets window: built from the layout table, wired to Form1's procedures.
#pragma once

#include "atspi_bridge.h"
#include "form1.h"
#include "layout.h"
#include "qt_controls.h"

#include <QWidget>

namespace kestrova {

class Form1Window : public QWidget {
public:
    // Builds the window and runs Form_Load; the window is not shown yet.
    explicit Form1Window(QWidget* parent = nullptr);

    QWidget* control(Control control) const { return widgets_[static_cast<std::size_t>(control)]; }
    // The tuner's value as a screen reader hears it: both frequencies as shown.
    QString tuningText() const;

protected:
    bool event(QEvent* event) override;

private:
    std::array<QWidget*, kControlCount> createControls();
    void colourSidebands();
    void showPicture();
    void followScreen(QScreen* screen);

    std::array<QWidget*, kControlCount> widgets_;
    QtListControl combo1_;
    QtScrollBarControl hscroll1_;
    QtLabelControl label1_, label2_, label7_, label8_;
    SystemRegionalSettings regionalSettings_;
    Form1 form_;
    AtSpiBridge* screenReaders_;
    bool screenWatched_ = false;
    std::array<QMetaObject::Connection, 2> screenConnections_;
};

} // namespace kestrova
