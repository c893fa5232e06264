#pragma once

// The application object: prepares the platform services the panes need, runs the main window
// until it closes and tears everything down in order. Returns the process exit status.
class CKorvaneViewerApp {
public:
    int Run(int argc, char** argv);
};
