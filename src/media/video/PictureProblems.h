// Pictures that fail to load, told in readable words on stderr (the log has
// its own Shift-JIS line for every failed load): each picture is noted as it
// fails and told once, together with the others that failed since the last
// telling, one line for each kind of failure.
#pragma once

namespace media {

enum class PictureProblem { Missing, Unreadable, Undecodable, TooLarge, CannotBeCut };

// Notes that the picture at `path` failed to load for `problem`.
void NotePictureProblem(const char* path, PictureProblem problem);

// Tells on stderr the pictures noted since the last call and not told before:
// "anagura: pictures image/a.bmp, image/b.bmp are missing: nothing is drawn in their place".
void TellPictureProblems();

}  // namespace media
