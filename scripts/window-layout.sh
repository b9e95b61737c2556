# Where things stand in the main window, in pixels from its top-left corner: the row that
# crosses the vertical edges of the unselected tabs, the tab strip's scroll arrows, the
# right end of the tabs' room left of the arrows, the Exit and Save buttons, and the
# address pages' Add button. They follow from the page layout in dialog units and the
# dialog font installed by scripts/setup. Sourced by scripts/run (it ends the tool with
# Exit) and by the end-to-end tests.
readonly TAB_EDGE_ROW=39 TAB_ROW=34 SCROLL_LEFT_X=280 SCROLL_RIGHT_X=296 SCROLL_Y=31
readonly TABS_END_X=270 EXIT_X=265 EXIT_Y=427 SAVE_X=187 SAVE_Y=427
readonly ADD_X=187 ADD_Y=394
