#pragma once
// Default names and access wrappers for stored settings.
#include <string>
#include <string_view>

#include "platform/base/Component.h"
#include "platform/base/IniFile.h"

namespace velmora {

// A form: its class name. Another component: its name, after the class
// name of the form it sits on (a control) or "<owner form class>." (a
// non-visual component of a form).
std::string DefaultSectionName(const wb::Component* component);
// The program's name with ".INI", in the folder the settings go to.
std::string DefaultIniName();
// "Software\" and the program's name.
std::string DefaultRegistryKey();

// Given an INI file or another store (a registry stand-in); null reads give
// the default and null writes do nothing.
std::string ProfileReadString(const wb::IniStore* store, std::string_view section,
                              std::string_view ident, std::string_view def);
// An INI file gets a value that begins and ends with the same quote inside
// one more pair of double quotes, so that it reads back unchanged.
void ProfileWriteString(wb::IniStore* store, std::string_view section, std::string_view ident,
                        std::string_view value);
int ProfileReadInteger(const wb::IniStore* store, std::string_view section, std::string_view ident, int def);
void ProfileWriteInteger(wb::IniStore* store, std::string_view section, std::string_view ident, int value);

// "(<width>x<height>)" of the screen in pixels.
std::string ScreenSizeSuffix();
// Written under ident + the suffix and then under ident; read from the
// suffixed key first and the plain one when that is empty.
std::string ReadPlacementText(const wb::IniStore* store, std::string_view section, std::string_view ident);
void WritePlacementText(wb::IniStore* store, std::string_view section, std::string_view ident,
                        std::string_view value);

} // namespace velmora
