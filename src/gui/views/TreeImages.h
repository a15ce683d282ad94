// The 14 small pictures of the directory tree (indices 0 to 13), 16 x 16, drawn with QPainter
// at first use: a folder for "Configuration" and its children, and one picture for each of
// the following root items. Index outside 0..13 gives an empty icon.
#pragma once

#include <QIcon>

class TreeImages {
public:
    static constexpr int kCount = 14;
    static QIcon Image(int index);
};
