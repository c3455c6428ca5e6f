#pragma once

#include <QByteArray>

#include <vector>

class QPainter;
struct TMatchRange;
struct TPaintFont;
struct TRenderConfig;

// Two small pieces the renderer paints rows with, kept apart from it: the
// marker a collapsed fold point shows behind its line ("{...}"), a grey
// framed text, and the bracket marks of a line, which go
// with the search matches through the match state of the runs.

// Paints marker with its left edge at x in the row at y.
void PaintFoldMarker(QPainter& painter, const TRenderConfig& config, const TPaintFont& font, const QByteArray& marker,
                     int x, int y);
// Adds the bracket marks of line to matches, and those without a partner
// to errors as well.
void AddBracketMarks(const TRenderConfig& config, int line, std::vector<TMatchRange>& matches,
                     std::vector<TMatchRange>& errors);
