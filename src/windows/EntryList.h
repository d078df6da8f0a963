#pragma once
// Drop-down lists that accept only their entries start with none chosen: an empty text.

#include <QComboBox>
#include <QStringList>

namespace windows {

inline void fillEntryList(QComboBox* list, const QStringList& entries) {
    list->clear();
    list->addItems(entries);
    list->setCurrentIndex(-1);
}

} // namespace windows
