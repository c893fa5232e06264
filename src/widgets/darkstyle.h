#pragma once

class QApplication;

// The viewer's dark look for standard widgets and dialogs: the Fusion style with the palette of
// the skin (backgrounds 51..80 grey, light grey text, orange selection) and a sans font that
// carries Korean glyphs.
void ApplyDarkStyle(QApplication& application);
