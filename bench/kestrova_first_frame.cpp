// Kestrova's own start-up, reporting its first frame: the picture is the last control painted.
#include "application.h"
#include "first_frame.h"
#include "form1_window.h"

int main(int argc, char* argv[]) {
    return kestrova::runApplication(argc, argv, [](kestrova::Form1Window& window) {
        kestrova::bench::reportFirstFrame(*window.findChild<QWidget*>("Image1"));
    });
}
