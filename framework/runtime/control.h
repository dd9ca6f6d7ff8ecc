#pragma once
#include <map>
#include <string>
#include <vector>

#include "framework/runtime/window_resource.h"

namespace slownik::rt {

//! Colours are the runtime's 24-bit numbers (red + green*256 + blue*65536); this one
//! means "the control's own colour".
inline constexpr long kNoColor = -1;

//! Font weights as the front-ends take them.
inline constexpr int kNormalWeight = 400;
inline constexpr int kBoldWeight = 700;

//! How a list draws the cells of one style number (a column's Z(n), or a row's style).
struct ListStyle {
  int fontWeight = kNormalWeight;
  long fontColor = kNoColor;
  long backColor = kNoColor;
  long selectedFontColor = kNoColor;
  long selectedBackColor = kNoColor;
  bool operator==(const ListStyle&) const = default;
};

//! The properties a front-end is told about when they change.
enum class Property {
  Text, Value, Enabled, Hidden, ReadOnly, Required, FontColor, BackColor, SelectedColors, FrameColor,
  FontWeight, ListStyle, Selection, Icon, IconList, Rows, Items, Tip, Picture, Format, ColumnHeader,
  Created, Destroyed,
  // window properties (reported with an empty control name)
  Title, Active, Busy
};

//! A control and its current properties. A copy is a snapshot: the window's own
//! control keeps changing.
struct Control {
  std::string name;
  ControlKind kind = ControlKind::Entry;
  std::string parent;  //!< name of the enclosing control, "" = the window. Controls the resource
                       //!< leaves unnamed are named "?_<kind><n>" so that the tree can be laid out.
  int key = 0;
  std::string keyLabel;
  bool isDefault = false;
  std::string trueValue = "1";
  std::string falseValue = "0";
  std::vector<int> alerts;  //!< keys reserved while this control has the focus

  std::string text;   //!< caption (with "&" mnemonics)
  std::string value;  //!< the value as text (a check box: its true or false value; a sheet: the shown tab, 1-based)
  bool enabled = true;
  bool hidden = false;
  bool readOnly = false;
  bool required = false;
  long fontColor = kNoColor;
  long backColor = kNoColor;
  long selectedFontColor = kNoColor;
  long selectedBackColor = kNoColor;
  long frameColor = kNoColor;  //!< a frame drawn just outside the control (focus highlight)
  int fontWeight = kNormalWeight;
  std::map<int, ListStyle> styles;
  int selection = 0;  //!< a list's selected row, 1-based; a multi-line text's cursor, in characters from 1; 0 = none
  //! A list's rows selected together (1-based, ascending, `selection` among them); empty
  //! while the selected row is the only one. `selection` stays the row forms work on.
  std::vector<int> marked;
  int anchor = 0;  //!< where a list's Shift selection started
  std::string icon;
  std::vector<std::string> iconList;  //!< a list's icons by number (1-based)
  std::vector<std::vector<std::string>> rows;  //!< a list's loaded rows: list-buffer fields as text
  std::vector<std::string> items;     //!< a combo's or drop list's entries
  std::string tip;
  std::string picture;
  std::string format;
  std::map<int, std::string> columnHeaders;  //!< header texts set at run time, by column (1-based)

  //! The mnemonic letter of the caption (upper case), or 0.
  char mnemonic() const;
};

//! The rows of a list the user selected, ascending: the marked rows, else the selected
//! row alone (none when no row is selected).
inline std::vector<int> selectedRows(const Control& list) {
  if (!list.marked.empty()) return list.marked;
  if (list.selection > 0) return {list.selection};
  return {};
}

}  // namespace slownik::rt
