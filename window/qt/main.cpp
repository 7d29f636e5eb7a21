// Kestrova for Linux.
#include "application.h"

int main(int argc, char* argv[]) {
    return kestrova::runApplication(argc, argv);
}
