#pragma once
// Answers the windows' message boxes in tests: records every text in order and can look at
// the windows while a box is "open" through the onShow hook.

#include "windows/MessageBoxes.h"

#include <QStringList>
#include <functional>
#include <utility>

class RecordingMessageBoxes final : public MessageBoxes {
public:
    void inform(QWidget*, const QString& text) override
    {
        texts.append(text);
        if (onShow)
            onShow(text);
    }
    // Returns the recorded texts and forgets them.
    QStringList take() { return std::exchange(texts, {}); }

    QStringList texts;
    std::function<void(const QString&)> onShow;
};
