#pragma once
// The text format's sentences between its two passes: the first pass writes
// each sentence once, as it is computed, and learns the widest; the second
// reads them back to pad them to that width. They wait in a temporary file
// that has no name (it goes with the process, however the process ends), so
// memory does not grow with the lists and no list is read twice.

#include <QByteArrayView>
#include <QtGlobal>

#include <string>
#include <string_view>

namespace cli {

class SentenceSpool {
public:
    SentenceSpool();
    ~SentenceSpool();
    SentenceSpool(const SentenceSpool&) = delete;
    SentenceSpool& operator=(const SentenceSpool&) = delete;

    // One sentence: its UTF-8 bytes and its width in UTF-16 code units.
    // Throws Failure when the temporary file cannot be written.
    void add(std::string_view sentence, qsizetype width);
    qsizetype widest() const { return widest_; }

    // Every sentence in the order added, with its width. Throws Failure when
    // the temporary file cannot be read.
    template <typename Use> void replay(Use&& use)
    {
        rewind();
        std::string_view sentence;
        qsizetype width = 0;
        while (next(sentence, width))
            use(sentence, width);
    }

private:
    void flush();
    void rewind();
    bool next(std::string_view& sentence, qsizetype& width);

    int descriptor_ = -1;
    std::string block_;
    size_t at_ = 0; // replay: the next record in block_
    qsizetype widest_ = 0;
};

} // namespace cli
