#pragma once

// Desktop file ids: each menu entry's name without ".desktop", its icon's
// name, the AppStream id and the program's QGuiApplication::desktopFileName(),
// under the product's domain (lexivane.example.org, reversed).
namespace lexi {

inline constexpr const char* kKavixDesktopId = "org.example.lexivane.kavix";
inline constexpr const char* kWriterDesktopId = "org.example.lexivane.wkvx";
inline constexpr const char* kExportUtilDesktopId = "org.example.lexivane.exportutil";
// kavix --selection: the word selected in any program; desktops can bind it to a key.
inline constexpr const char* kSelectionDesktopId = "org.example.lexivane.kavix-selection";

}  // namespace lexi
