#pragma once
// The points of a GeoJSON document: the positions [lon, lat, ...] of its
// geometries (Point, MultiPoint, LineString, MultiLineString, Polygon,
// MultiPolygon, GeometryCollection), alone, in a Feature or in a
// FeatureCollection, in document order, their number texts as written.
// Numbers anywhere else (bbox, properties, other members) are no points.
// Segments: each LineString or ring of a Polygon (of the Multi- kinds too);
// Point and MultiPoint positions that follow each other are one. Times, when
// asked for: a Feature's "times" or "coordTimes" property, ISO texts for its
// positions in order.

#include "lists/formats/plainlist.h"

#include <QByteArray>

#include <string_view>

namespace lists {

// Reads the whole document (JSON is read in one piece). A document that is
// not JSON throughout, or not GeoJSON (no type or an unknown one, a second
// "type" or "coordinates" in one object, objects and lists nested deeper than
// kMaxNesting), fails with invalidFileFormat; the points read before the
// fault have been handed on. A document whose object has no type of
// GeoJSON fails with notAListDocument. Member names count with their escapes read. A
// position that is no pair of numbers in the numeric test is skipped, with
// its line. JSON numbers use "." whatever the locale.
// A number as JSON writes it: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
bool isJsonNumber(std::string_view token);

void readGeoJson(QByteArray json, const PointSink& point, const PlainListOptions& options);

} // namespace lists
