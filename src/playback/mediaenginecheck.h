#pragma once

class QWidget;

// Makes sure the media engine can be loaded. When it cannot, tells the user why (the engine's
// own error text) and returns false: the viewer cannot play and must end. Call on the
// user-interface thread before the first channel pane is created.
bool ConfirmMediaEngine(QWidget* parent = nullptr);
