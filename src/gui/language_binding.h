#pragma once

#include <vector>

#include "config/language_file.h"

class QWidget;

namespace orvane::gui {

// Language files reach the windows through a Qt-free tree of their
// controls. These two walk a window's own widgets (not those of the other
// windows it parents) by objectName: one builds the tree, the other copies
// its texts back after a language was applied.
//
// A group box named "RadioGroup..." is a radio group whose items are the
// captions of its radio buttons; its menu bar is the menu "MainMenu1".
ControlNode controlTree(QWidget* window);
void applyControlTree(QWidget* window, const ControlNode& tree);

// The trees of several windows, and their copy back by window name.
std::vector<ControlNode> controlTrees(const std::vector<QWidget*>& windows);
void applyControlTrees(const std::vector<QWidget*>& windows, const std::vector<ControlNode>& trees);

}  // namespace orvane::gui
