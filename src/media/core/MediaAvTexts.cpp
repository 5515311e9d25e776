#include "media/core/MediaAvTexts.h"

namespace media::texts {

const char* const kBuiltInFace = "ＭＳ ゴシック";
const char* const kFontLimitExceeded = "作成できるフォントハンドル数 %d の限界を超えました";
const char* const kNamedFontFailed = "指定のフォントの作成に失敗しました\n";
const char* const kDefaultFontFailed = "フォントの作成に失敗しました\n";
const char* const kFontCacheMemoryFailed = "フォントのキャッシュ用メモリの確保に失敗しました in CreateFontToHandle";
const char* const kCharCacheMemoryFailed = "文字キャッシュ処理用メモリの確保に失敗しました\n";
const char* const kSoundLoadFailedDecode = "右記の音声ファイルのロードに失敗しました_1：%s";
const char* const kSoundLoadFailedBuffers = "右記の音声ファイルのロードに失敗しました_2：%s";

}  // namespace media::texts
