#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace slownik::rt {

//! What a control is. Layout-only kinds (row) group controls without being drawn.
enum class ControlKind {
  Entry, Prompt, Button, Check, Option, Radio, List, Combo, DropList, Spin, Text, String,
  Image, Sheet, Tab, Group, Panel, Line, Box, Ellipse, Region, Progress, Row
};

//! The resource name of a kind ("entry", "droplist", …); nullopt for an unknown name.
std::optional<ControlKind> controlKindFromName(std::string_view name);
std::string_view controlKindName(ControlKind kind);
//! Controls that can hold the focus (Tab stops at them).
bool takesFocus(ControlKind kind);
//! Controls whose value a person types (entry, spin, multi-line text, combo).
bool isEditable(ControlKind kind);
//! Controls that may hold other controls in a resource.
bool holdsControls(ControlKind kind);

//! One control as the resource declares it.
struct ControlDef {
  std::string name;   //!< "?LIST", "?BAN:NAZWA"; may be empty for decoration
  ControlKind kind = ControlKind::Entry;
  int parent = -1;    //!< index of the enclosing control in WindowDef::controls, -1 = window
  std::string caption;  //!< with "&" before the mnemonic letter
  int key = 0;          //!< the key that presses the control (buttons), 0 = none
  std::string keyLabel; //!< the key as shown beside the control ("F10", "Esc")
  std::string picture;  //!< "@s20", "@n-9.2", …
  std::string format;   //!< a list's column format
  std::string tip;
  std::string icon;
  std::string value;    //!< initial value (a radio: the value it gives its option group)
  std::vector<std::string> items;  //!< entries of a combo or drop list
  std::string trueValue = "1";     //!< a check box's value when checked
  std::string falseValue = "0";
  bool required = false;
  bool readOnly = false;
  bool hidden = false;
  bool disabled = false;
  bool isDefault = false;  //!< the button Enter presses
};

//! One window of a resource file: its type, caption, icon, minimum size (dialog units)
//! and its controls flattened in tab order (a parent comes before its children).
struct WindowDef {
  std::string resource;  //!< "slownik$slown002"
  std::string type;      //!< "P1$BROWSEWINDOW"
  std::string caption;
  std::string icon;
  int minWidth = 0;
  int minHeight = 0;
  std::vector<ControlDef> controls;
};

//! The folder that holds windows/, icons/ and help/. Set by the host and by tests;
//! by default $SLOWNIK_RESOURCES, else $SLOWNIK_SOURCE_DIR/resources, else ./resources.
void setResourceRoot(std::string dir);
std::string resourceRoot();

//! The file a resource name stands for: "slownik$slown002" → <root>/windows/slown002.json.
std::string resourceFile(std::string_view resourceName);

//! Reads every window of a resource file's text. On an error returns nullopt and puts a
//! text naming `fileLabel` and the fault into *error.
std::optional<std::vector<WindowDef>> parseWindowResource(std::string_view text, std::string_view fileLabel,
                                                          std::string* error);

//! Loads the window of type `windowType` from the resource file of `resourceName`.
std::optional<WindowDef> loadWindowDef(std::string_view resourceName, std::string_view windowType,
                                       std::string* error);

}  // namespace slownik::rt
