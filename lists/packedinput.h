#pragma once
// A list file as its bytes are pulled from a file or a pipe: a gzip, bzip2
// or xz file is read as its content, a zip (KMZ) as its KML document, any
// other file as it is. Told by the first bytes, never by the file's name.

#include "lists/archivereader.h"
#include "lists/formats/plainlist.h"

namespace lists {

// Reads the source to its end and hands on the list's points (see
// ListReader). The content of a compressed file is recognised in turn (a
// list, a GPX, a FIT file, a zip...). In a zip, the entry "doc.kml" is read,
// or else the first entry at its root whose name ends in ".kml"; a zip
// without one fails with "a zip without a KML document". Each is read as a
// stream, nothing put aside: a first KML that is not doc.kml is read on a
// second pass over the zip, once the source is rewound; one that cannot be
// (a pipe) fails.
void readPackedList(const ByteSource& source, const PointSink& point,
                    const PlainListOptions& options, const Rewind& rewind = {});

} // namespace lists
