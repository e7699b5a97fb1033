#pragma once
// The pictures of the icon set, each painted into a 16 x 16 unit grid.
#include <QPainter>
#include <functional>

namespace iconforge {

using Picture = std::function<void(QPainter&)>;

constexpr int ImageListCount = 34;
// Picture `index` of the image list; the indices the program relies on are
// fixed, the others are spare pictures in the same style.
Picture imageListPicture(int index);

// The program icon, painted into a 64 x 64 unit grid.
void paintProgramIcon(QPainter& p);

} // namespace iconforge
