#include "lists/formats/tagvalues.h"

#include <algorithm>
#include <cstring>

namespace lists {

namespace {

// The next byte at or after `at` that is `c`, or `end`.
const char* find(const char* at, const char* end, char c)
{
    const void* found = std::memchr(at, c, size_t(end - at));
    return found ? static_cast<const char*>(found) : end;
}

// The bytes that change the state inside a tag: a quote, its end, a new tag.
bool inTagMatters(char c) { return c == '"' || c == '\'' || c == '>' || c == '<'; }

} // namespace

// Text and quoted values, most of a document, are passed over at memchr's
// speed; the bytes of tag names and between attributes one by one.
qsizetype TagValues::pass(QByteArrayView bytes)
{
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    // The start of a tag that began in an earlier block lies before this one.
    if (state_ != State::Text)
        tagStart_ = -1;
    for (const char* at = begin; at != end; ++at) {
        if (state_ == State::Text)
            at = find(at, end, '<');
        else if (state_ == State::Quoted)
            at = find(at, end, quote_);
        else if (state_ == State::Tag)
            at = std::find_if(at, end, inTagMatters);
        if (at == end)
            return -1;
        if (!step(*at, at - begin))
            return at - begin;
    }
    return -1;
}

void TagValues::skip(const char* terminator)
{
    state_ = State::Skip;
    terminator_ = terminator;
    matched_ = 0;
}

// False at the value past the limit.
bool TagValues::step(char c, qsizetype at)
{
    switch (state_) {
    case State::Text:
        state_ = State::Open;
        tagStart_ = at;
        values_ = 0;
        return true;
    case State::Open:
        if (c == '?') {
            skip("?>");
        } else if (c == '!') {
            state_ = State::Bang;
            bang_ = 0;
        } else {
            state_ = State::Tag;
        }
        return true;
    case State::Bang:
        // "<!--" opens a comment, "<![" a CDATA section; any other is a declaration.
        if (bang_ == 0 && c == '[') {
            skip("]]>");
        } else if (bang_ == 0 && c == '-') {
            bang_ = 1;
        } else if (bang_ == 1 && c == '-') {
            skip("-->");
        } else {
            state_ = State::Tag;
            return step(c, at);
        }
        return true;
    case State::Tag:
        if (c == '"' || c == '\'') {
            state_ = State::Quoted;
            quote_ = c;
            return ++values_ <= limit_;
        }
        if (c == '>') {
            state_ = State::Text;
        } else if (c == '<') { // not well formed: the parser stops there
            state_ = State::Text;
            step(c, at);
        }
        return true;
    case State::Quoted:
        if (c == quote_)
            state_ = State::Tag;
        return true;
    case State::Skip:
        if (c == terminator_[matched_]) {
            if (terminator_[++matched_] == '\0')
                state_ = State::Text;
        } else if (matched_ == 0 || c != terminator_[matched_ - 1]) {
            // "--->" and "]]]>" end too: a repeated first byte keeps the match.
            matched_ = c == terminator_[0] ? 1 : 0;
        }
        return true;
    }
    return true;
}

} // namespace lists
