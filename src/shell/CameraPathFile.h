#pragma once
// A camera path file: a binary value tree whose root holds one 32-byte key per child, a position
// key for type "pos" and a rotation key for any other type.

class Animation;
class DataStream;

// Clears both tracks of `path`, then adds the file's keys. False (tracks left empty) when the
// stream is not a readable tree; keys of the wrong size or with a non-finite number are skipped.
bool LoadCameraPath(DataStream& stream, Animation& path);
