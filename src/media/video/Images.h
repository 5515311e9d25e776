// Loading and freeing images.
#pragma once


namespace media::op {

// The work of the public operations of these names (their contracts are in
// Media.h), called by their definitions in Media.cpp, which record them.
int LoadImageFile(const char* path, int flag);
int LoadImageDivided(const char* path, int total, int xCount, int yCount, int cellWidth, int cellHeight,
                     int* handlesOut, int flag);
int DeleteImage(int handle, int logFlag);

}  // namespace media::op
