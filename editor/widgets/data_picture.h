// Pictures of the data tree (PNG and the other formats Qt reads), such as the command icons.
#pragma once

#include <QImage>

#include <filesystem>
#include <string_view>

namespace zandrel::editor::widgets {

// The picture `name` (spelt as the data spell it, "EDITOR/START.PNG") below `dataRoot`; a
// null image when the file is missing, larger than 1 MB or not a picture.
QImage ReadDataPicture(const std::filesystem::path& dataRoot, std::string_view name);

}  // namespace zandrel::editor::widgets
