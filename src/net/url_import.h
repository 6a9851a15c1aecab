#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

class UserSettings;

// Texts of the import of a page from a URL into the project folder.
inline constexpr std::string_view kImportFolderGuidance =
    "You can import files from online by importing them into a selected folder on your hard "
    "drive.\nMake sure you have a separate Project and Project Folder for all groups of files you "
    "are working with.\nIf you don't usually have a folder in your hard drive for the URL files "
    "you are importing, do the following:\n\n1. Enter the area on your hard drive where you keep "
    "your files and create a folder to receive the files.\n\n2. Launch VEV and establish a new "
    "Project by using the New button beside the first field in the Project section.\n\n3. In the "
    "second field, Project Folder, choose your folder as your Project Folder.\n\n4. Use the Import "
    "button to import files into your selected folder.\n";
inline constexpr std::string_view kHomeUrlWarning =
    "Please enter your Home URL in the box provided.\nBy doing so, Quorvel will be able to run "
    "additional checks\non your page, such as the length of your URL and whether\nyou're using "
    "your keyword phrase in the name of the domain.\n";
inline constexpr std::string_view kSpecifyLocalFileName = "Please specify a local file name!";
inline constexpr std::string_view kSpecifyValidUrl = "Please specify a valid URL!";
inline constexpr std::string_view kSpecifyAnUrl = "Please specify an URL!";
inline constexpr std::string_view kOverwriteQuestion =
    "Local File already exist!\nDo you want to overwrite it ?";

// The local file name an address suggests: the text after its last '/' or
// '\'. Empty when the address is empty, 6 characters or shorter, or just
// "http://", when that separator is doubled ("http://host" has no file
// part), or when nothing follows it.
std::optional<std::string> fileNameFromUrl(std::string_view url);

// True for "http://" in any letter case: the address field still holds no
// address.
bool isBareHttpScheme(std::string_view url);

// An address worth downloading: at least 7 characters and not just "http://".
bool isUsableImportUrl(std::string_view url);

// The address an import starts from: the home URL, or "http://" when there
// is none, ending in '/'.
std::string importStartUrl(std::string_view homeUrl);

// A name that stays inside the project folder: not empty, no '/', and not
// "." or "..".
bool isPlainFileName(std::string_view name);

// Adds an imported file to the current project's file list, enabled, unless
// a listed name (enabled or not) begins with it, letter case ignored.
// Returns whether it was added.
bool addImportedFile(UserSettings& settings, std::string_view name);

}  // namespace quorvel
