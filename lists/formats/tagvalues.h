#pragma once
// libxml2 compares each attribute of a tag with every one before it: a tag
// with a hundred thousand attributes costs it minutes before any event comes.
// TagValues counts the quoted values of each tag and declaration in the bytes
// before the parser sees them, so that such a tag is refused first. Comments,
// processing instructions and CDATA sections hold no values; a declaration's
// (an attribute list's defaults) count as a tag's.

#include <QByteArrayView>

namespace lists {

class TagValues {
public:
    explicit TagValues(int limit)
        : limit_(limit)
    {
    }
    // The bytes in document order, in blocks of any size. The offset in
    // bytes of the value past the limit, or -1 while every tag is within it.
    qsizetype pass(QByteArrayView bytes);
    // Where the tag that holds it started: its "<" at that offset of the
    // last bytes passed, or before them when negative.
    qsizetype tagStart() const { return tagStart_; }

private:
    enum class State { Text, Open, Bang, Tag, Quoted, Skip };
    void skip(const char* terminator);
    bool step(char c, qsizetype at);

    int limit_;
    State state_ = State::Text;
    char quote_ = 0;
    int values_ = 0;
    int bang_ = 0;                 // bytes seen after "<!"
    const char* terminator_ = "";  // what ends the comment, instruction or section skipped
    int matched_ = 0;              // its bytes matched so far
    qsizetype tagStart_ = -1;
};

} // namespace lists
