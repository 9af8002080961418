#pragma once
// The application title: the caption of every message box that names no title
// of its own, made from the product title.

#include <QString>

namespace chrome {

// The product title, shown as the window caption.
inline const QString kProductTitle = QStringLiteral("Meridane");

// The title cut at its last space while it is longer than 40 characters; a
// title that is still too long and has no space left is cut to 40 characters.
QString ShortenedTitle(QString title);

// Makes the shortened product title the application title.
void SetApplicationTitle();

} // namespace chrome
