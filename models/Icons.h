#pragma once
// The window's pictures: the small icons of menus, tree, list rows, status
// panel and sort marks, the toolbar button pictures and the program icon. They
// are painted once by iconforge and shipped as resources, so the program never
// draws them at run time.
#include <QIcon>

namespace qb {

// The values are the pictures' numbers among the resources; the resources hold
// spare pictures in the same style between them.
enum class Icon {
    None = -1,
    SortAscending = 0,
    SortDescending = 1,
    Save = 3,
    OutboxFolder = 4,
    InboxFolder = 8,
    DeleteAll = 12,
    DeleteMessage = 14,
    Exit = 16,
    Connected = 19,
    Disconnected = 21,
    DraftRow = 22,
    OutboxRow = 23,
    InboxRow = 24,
    Connect = 25,
    Convert = 26,
    Read = 28,
    SaveAll = 29,
    ArchiveGroup = 30,
    DraftFolder = 31,
    PhoneGroup = 33,
};

// The picture (16 x 16, with a 32 x 32 variant for HiDPI); none for Icon::None.
QIcon icon(Icon which);

enum class ButtonPicture { Connect, Read, Save, SaveAll, Convert };
QIcon buttonPicture(ButtonPicture picture);

QIcon programIcon();

} // namespace qb
