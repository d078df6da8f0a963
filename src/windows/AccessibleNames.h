#pragma once
// Screen readers announce a control by its accessible name. Result labels, lists and fields
// inside a frame have no caption of their own: the frame's caption says what they show.

class QWidget;

namespace windows {

// Gives every caption-less label, list, text box and drop-down list inside a frame the
// frame's caption as its accessible name, unless it already has one.
void nameAfterFrames(QWidget* window);

} // namespace windows
