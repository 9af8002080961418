#pragma once
// The command line's output, named by bytes (a name need not be UTF-8), in
// UTF-8; the caller writes its own line ends. Written as the window's save is.

#include "files/textfile.h"

namespace cli {

class ResultsFile : public files::TextFile {
public:
    explicit ResultsFile(QByteArray name)
        : TextFile(std::move(name), QStringEncoder::Utf8)
    {
    }
};

} // namespace cli
