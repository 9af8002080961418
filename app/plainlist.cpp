#include "app/plainlist.h"

namespace app {

PlainList::PlainList(const PointSink& point, const PlainListOptions& options)
    : point_(point)
    , options_(options)
{
}

void PlainList::line(QStringView text)
{
    ++number_;
    const auto fields = pointFields(text);
    if (fields && isPoint(*fields))
        point_(fields->latitude, fields->longitude);
    else if (options_.skipped)
        options_.skipped(number_);
}

} // namespace app
