#pragma once
// The captions of the folder tree in the interface's language.
#include "archive/FolderTree.h"

#include <QString>

namespace qb {

// "Телефон", "Входящие", "Исходящие", "Черновые" or "Архив".
QString nodeName(TreeNode node);
// "Входящие (n)" for n >= 1, "Входящие " (one trailing blank) for n = 0.
QString folderCaption(FolderKind kind, int count);

} // namespace qb
