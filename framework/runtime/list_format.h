#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/runtime/picture.h"

namespace slownik::rt {

enum class ListAlignment { Left, Right, Center, Decimal };

//! One column of a list, as its list-format entry describes it.
struct ListColumn {
  int width = 0;  // dialog units; 0 = hidden
  ListAlignment alignment = ListAlignment::Left;
  int indent = 0;
  bool rightBorder = false;      // '|'
  bool resizable = false;        // 'M'
  bool fixed = false;            // 'F': does not scroll horizontally
  bool icon = false;             // 'I'
  bool transparentIcon = false;  // 'J'
  bool tree = false;             // 'T'
  bool cellColours = false;      // '*'
  int style = 0;                 // 'Z(n)'; 0 = none
  bool lineBreakAfter = false;   // '/': the next column starts a new line of the row
  std::string header;
  ListAlignment headerAlignment = ListAlignment::Left;  // the data's unless given
  int headerIndent = 0;
  std::string pictureText;  // as written between '@' signs ("n-9.2")
  Picture picture;
  //! List-buffer fields, numbered from 1: the value shown, and the extra fields that
  //! belong to the column (0 when it has none).
  int field = 0;
  bool explicitField = false;  // '#n#' given
  int colourField = 0;         // first of four: text, background, selected text, selected background
  int iconField = 0;
  int treeField = 0;           // the row's tree level
  int group = -1;              // index into ListFormat::groups
  //! Fields this column takes: 1 + 4 for '*' + 1 for an icon + 1 for a tree.
  int fieldCount() const;
  //! A value of this column as the list shows it: through the picture, without the
  //! blanks that pad it to the picture's width. An empty value shows nothing (a column
  //! that stands for its icon alone has its text emptied). An icon column no wider than
  //! its icon shows the icon alone; in a wider one a number is a count beside the icon,
  //! and a zero, meaning none, shows nothing.
  std::string display(std::string_view stored) const;
};

//! Columns under a common header ('[' ... ']').
struct ListGroup {
  int firstColumn = 0;
  int columnCount = 0;
  bool rightBorder = false;
  bool resizable = false;
  bool fixed = false;
  std::string header;
  ListAlignment headerAlignment = ListAlignment::Left;
  int headerIndent = 0;
};

//! A parsed list-format string: what a front-end needs to draw the list and which
//! list-buffer field each column shows.
//!
//! A column without '#n#' shows the field after the last one the previous column took; a
//! column with '#n#' shows field n and the next columns go on from there. The extra fields
//! of a column follow its value field in this order: four colours ('*'), the icon number
//! ('I' or 'J'), the tree level ('T').
struct ListFormat {
  std::vector<ListColumn> columns;
  std::vector<ListGroup> groups;
  //! Highest field number that any column uses.
  int fieldCount = 0;

  //! Empty with a Polish error text naming the character position (from 1) when the
  //! string can't be read.
  static std::optional<ListFormat> parse(std::string_view format, std::string* error = nullptr);
};

}  // namespace slownik::rt
