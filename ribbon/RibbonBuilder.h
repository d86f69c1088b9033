// Builds the ribbon's categories from the layout table.
#pragma once

#include "res/RibbonLayout.h"

#include <map>

class wxRibbonBar;
class wxWindow;

namespace tesslin {

// The ribbon's edit boxes and check boxes by command ID.
using RibbonControls = std::map<int, wxWindow*>;

// Adds every category of `layout` to `bar` as a page, in order, with its panels and their
// elements: buttons in ribbon button bars (button ID = the element's ID), edit boxes as a
// caption and a wxTextCtrl, check boxes as a wxCheckBox, separators as a vertical line. The
// caller realises the bar.
//
// Command IDs of this program lie above the window IDs wxWidgets accepts (below 32767, the
// limit of a control ID on Windows), so edit boxes and check boxes get automatic window IDs
// and their command events (wxEVT_TEXT, wxEVT_CHECKBOX, wxEVT_UPDATE_UI) leave them carrying
// the element's command ID. Returns the controls by command ID.
RibbonControls BuildCategories(wxRibbonBar& bar, const ribbon::Layout& layout);

} // namespace tesslin
