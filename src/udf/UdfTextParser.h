#pragma once
// Parses the text form of the data format into a tree of UdfTextNode. There is no tokenizer and
// there are no errors: statements are cut, scanned and assigned character by character, and
// malformed input yields odd nodes rather than a failure.

#include "resources/DataStream.h"
#include "resources/FileSearchList.h"
#include "udf/UdfTextNode.h"

// Reads the whole stream and runs its statements into `root`. False when the stream delivers no
// bytes (the root is then unchanged), when an included file gave false, or when the file would
// make far more nodes and text than its size explains (copies that double a tree, includes
// without end): the parse then stops where it was. `searchList` may be
// null; it is used to find included files.
bool ParseUdfText(DataStream& stream, UdfTextNode& root, const FileSearchList* searchList);
