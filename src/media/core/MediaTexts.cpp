// Compiled with a CP932 execution character set: the bytes below are Shift-JIS.
#include "media/core/MediaTexts.h"

namespace media::texts {

extern const char kChangeWindowMode[] = "ChangeWindowMode実行 \n";
extern const char kNo24BitColour[] = "ＭＲライブラリは２４ビットカラーモードに対応していません\n";
extern const char kInstanceCheck[] = "ソフトの二重起動検査... ";
extern const char kInstanceRunning[] = "二重起動されています、ソフトを終了します\n";
extern const char kInstanceNotRunning[] = "二重起動はされていませんでした\n";
extern const char kFramePeriod[] = "１フレーム当たりの時間は %d msecです";
extern const char kFrameTrial[] = "\tTri%02d:%d msec";
extern const char kFramePeriodUnknown[] = "１フレームの時間を正常に取得できませんでした\n";
extern const char kDivideFailed[] = "グラフィックの分割に失敗しました in CreateDivGraphFromGraphImage\n";
extern const char kImageDeleted[] = "グラフィック %s の削除";
extern const char kImageMissing[] = "グラフィックファイル %s がありません";
extern const char kImageLoadFailed[] = "右記のグラフィックファイルのロードに失敗しました：%s \n";
extern const char kImageLoadFailedDivided[] = "右記のグラフィックファイルのロードに失敗しました：%s";
extern const char kImageMemoryFailed[] = "右記のグラフィックファイルの格納用グラフィック領域の作成に失敗しました：%s";
extern const char kWindowFailed[] = "ウインドウの作成に失敗しました\n";

}  // namespace media::texts
