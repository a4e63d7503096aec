#pragma once
// What a multi-line box holds: the length of its longest block, the one its layout costs most.

#include <QPlainTextEdit>
#include <QTextBlock>

#include <algorithm>

namespace kx::test {

inline int longestBlock(const QPlainTextEdit& box) {
    int most = 0;
    for (QTextBlock b = box.document()->begin(); b.isValid(); b = b.next()) most = std::max(most, b.length() - 1);
    return most;
}

} // namespace kx::test
