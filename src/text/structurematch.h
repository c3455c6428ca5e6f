#pragma once

// The bracket or tag at a place and its partner (TCustomMemoSource::MatchAt):
// line -1 when there is nothing to match there; with mrNone nothing is shown
// (the partner lies too far to look for, or the element ends without a tag
// of its own), mrUnmatched when it has none.
struct TStructureMatch {
    enum TResult { mrNone, mrMatched, mrUnmatched };
    TResult result = mrNone;
    int line = -1;
    int column = 0;
    int length = 0;
    int partnerLine = -1;
    int partnerColumn = 0;
    int partnerLength = 0;
};
