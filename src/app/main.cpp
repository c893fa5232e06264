#include "app/korvaneviewerapp.h"

int main(int argc, char** argv) {
    CKorvaneViewerApp application;
    return application.Run(argc, argv);
}
