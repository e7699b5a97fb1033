#pragma once
// The window's pictures: the 34 small icons of the image list, the toolbar
// button pictures and the program icon. They are painted once by iconforge and
// shipped as resources, so the program never draws them at run time.
#include <QIcon>

namespace qb {

// Indices are fixed by their users (menus, tree, list rows, status panel,
// sort marks); the rest of the list is spare pictures in the same style.
constexpr int ImageListCount = 34;
namespace Image {
constexpr int SortAscending = 0;
constexpr int SortDescending = 1;
constexpr int Save = 3;
constexpr int OutboxFolder = 4;
constexpr int InboxFolder = 8;
constexpr int DeleteAll = 12;
constexpr int DeleteMessage = 14;
constexpr int Exit = 16;
constexpr int Connected = 19;
constexpr int Disconnected = 21;
constexpr int DraftRow = 22;
constexpr int OutboxRow = 23;
constexpr int InboxRow = 24;
constexpr int Connect = 25;
constexpr int Convert = 26;
constexpr int Read = 28;
constexpr int SaveAll = 29;
constexpr int ArchiveGroup = 30;
constexpr int DraftFolder = 31;
constexpr int PhoneGroup = 33;
} // namespace Image

// Picture `index` of the image list (16 x 16, with a 32 x 32 variant for HiDPI).
QIcon imageListIcon(int index);

enum class ButtonPicture { Connect, Read, Save, SaveAll, Convert };
QIcon buttonPicture(ButtonPicture picture);

QIcon programIcon();

} // namespace qb
