// Reusing the shown picture for the next frame never changes a pixel: long runs
// of frames that mostly repeat the previous one, with changes early and late in
// the frame, text, images loaded and freed, the back screen looked at
// mid-frame, frames begun without a clear, frames cleared again without being
// shown, frames drawn in one batch (the short ways of repeated draws), the same
// text in another font size, and game-like runs (a steady start kept as a background, figures and
// a fade over the whole screen changing) give exactly the pictures that
// drawing every call gives, at 16 and 32 bits a pixel.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "MediaTestSupport.h"
#include "media/video/BmpWriter.h"
#include "media/headless/HeadlessControls.h"
#include "media/Media.h"
#include "media/core/MediaState.h"
#include "media/core/OperationLock.h"
#include "media/video/ScreenReuse.h"

namespace {

struct Op {
    // 0 image, 1 mirrored image, 2 rect, 3 text, 4 blend, 5 brightness, 6 whole screen, 7 image with
    // its shade (out of range now and then), 8 font size
    int kind;
    int x, y, a, b;
};

class ScreenReuseRun : public testsupport::HeadlessMedia {
protected:
    // Plays `frames` frames made by the same random sequence; the presented
    // picture of each. `steady`: as in a game, the early calls stay the same for
    // long stretches, the last ones (moving figures, a fade over the whole
    // screen) change from frame to frame.
    std::vector<size_t> Play(bool reuse, int frames, bool steady = false) {
        media::MediaState& st = media::State();
        st.reuse->SetEnabled(reuse, st.back);
        SetBlendMode(kBlendNone, 255);
        SetDrawBrightness(255, 255, 255);
        SetDefaultFontSize(16);
        for (int i = 0; i < 2; ++i) {  // both screens black
            ClearScreen();
            FlipScreen();
        }
        std::vector<size_t> shown;
        std::mt19937 random(1234);
        auto pick = [&](int n) { return static_cast<int>(random() % static_cast<uint32_t>(n)); };
        LoadImages();
        std::vector<Op> ops;
        for (int i = 0; i < 40; ++i) ops.push_back(RandomOp(pick));
        const std::string text = testsupport::ToSjis("かりＡ");
        if (steady) {
            ops.insert(ops.begin(), Op{4, 0, 0, 0, 255});  // each frame starts from the same drawing state
            ops.push_back(Op{4, 0, 0, 1, 128});            // blend for the fade
            ops.push_back(Op{6, 0, 0, 0, 0});              // the fade: a rectangle over the whole screen
        }
        for (int frame = 0; frame < frames; ++frame) {
            if (!steady) {
                Mutate(ops, pick);
            } else if (pick(100) == 0) {
                Mutate(ops, pick);  // now and then an early change
            } else {
                // A figure near the end moves; the fade steps now and then.
                ops[ops.size() - 3 - static_cast<size_t>(pick(6))].x += pick(3) - 1;
                if (pick(4) == 0) ops[ops.size() - 2].b = pick(256);
            }
            if (pick(steady ? 200 : 40) == 0) ReloadOneImage(pick(3));
            // Rarer in a steady run, where they would end the reuse too often to test it.
            const int lookAt = pick(steady ? 64 : 8) == 0 ? pick(static_cast<int>(ops.size())) : -1;
            if (pick(steady ? 200 : 30) != 0) ClearScreen();  // now and then a frame drawn over the last one
            // With reuse, every other frame in one batch as the main loop draws: the short ways are
            // taken only there, and the pictures without reuse come from the operations one by one.
            std::optional<media::OperationGuard> batch;
            if (reuse && frame % 2 == 1) batch.emplace();
            frame_ = frame;
            for (size_t i = 0; i < ops.size(); ++i) {
                if (static_cast<int>(i) == lookAt) media::headless::BackScreenPixels();
                Run(ops[i], text);
            }
            batch.reset();
            if (pick(steady ? 50 : 12) != 0) FlipScreen();  // now and then a frame drawn again before it is shown
            shown.push_back(std::hash<std::string>()(Bytes(media::headless::PresentedPixels())));
        }
        st.reuse->SetEnabled(true, st.back);
        for (int image : images_) DeleteImage(image, 0);
        return shown;
    }

private:
    template <class Pick>
    Op RandomOp(Pick& pick) {
        static const int kKinds[24] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 3, 3, 4, 4, 5, 5, 7, 7, 8};
        return Op{kKinds[pick(24)], pick(180) - 10, pick(140) - 10, pick(256), pick(256)};
    }

    // Most frames change nothing or one call; some add or drop a call.
    template <class Pick>
    void Mutate(std::vector<Op>& ops, Pick& pick) {
        switch (pick(6)) {
            case 0: ops[static_cast<size_t>(pick(static_cast<int>(ops.size())))].x += 1; break;
            case 1: ops[ops.size() - 1 - static_cast<size_t>(pick(4))].y += 1; break;
            case 2: ops.insert(ops.begin() + pick(static_cast<int>(ops.size())), RandomOp(pick)); break;
            case 3:
                if (ops.size() > 20) ops.erase(ops.begin() + pick(static_cast<int>(ops.size())));
                break;
            default: break;
        }
    }

    void Run(const Op& op, const std::string& text) {
        const int image = images_[static_cast<size_t>(op.a) % images_.size()];
        switch (op.kind) {
            case 0: DrawImage(op.x, op.y, image, op.b & 1); break;
            case 1: DrawImageMirrored(op.x, op.y, image, op.b & 1); break;
            case 2:
                DrawRect(op.x, op.y, op.x + op.a / 4, op.y + op.b / 4, MakeColor(op.a, op.b, 90), op.b & 1);
                break;
            case 3: DrawTextAt(op.x, op.y, op.b % 5 == 0 ? "" : text.c_str(), MakeColor(op.a, 255, op.b), 0); break;
            case 4: SetBlendMode(op.a & 1, op.b); break;
            case 6: DrawRect(-1, -1, 100000, 100000, MakeColor(255, 255, 255), 1); break;
            case 7: DrawImageBlended(op.x, op.y, image, op.b & 1, DrawShade{op.a - 20, op.b, 300 - op.a, 200}); break;
            case 8: SetDefaultFontSize((op.a + frame_ / 3) % 2 == 1 ? 12 : 16); break;  // flips every 3 frames
            default: SetDrawBrightness(op.a, op.b, 200); break;
        }
    }

    void LoadImages() {
        images_.clear();
        for (int i = 0; i < 3; ++i) images_.push_back(LoadOne(i));
    }
    void ReloadOneImage(int i) {
        DeleteImage(images_[static_cast<size_t>(i)], 0);
        images_[static_cast<size_t>(i)] = LoadOne(i + 1);
    }
    // A 24 x 16 picture with a magenta hole, shaded by `seed`.
    int LoadOne(int seed) {
        std::vector<uint32_t> pixels;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 24; ++x)
                pixels.push_back((x - 8) * (x - 8) + (y - 8) * (y - 8) < 20
                                     ? 0xFF00FFu
                                     : static_cast<uint32_t>(x * 9 + seed * 70) << 16 |
                                           static_cast<uint32_t>(y * 15));
        const std::string name = "p" + std::to_string(seed) + ".bmp";
        media::WriteBmp(name, pixels, 24, 16);
        return LoadImageFile(name.c_str(), 0);
    }
    static std::string Bytes(const std::vector<uint32_t>& pixels) {
        return std::string(reinterpret_cast<const char*>(pixels.data()), pixels.size() * sizeof(uint32_t));
    }

    std::vector<int> images_;
    int frame_ = 0;
};

TEST_F(ScreenReuseRun, GivesThePicturesOfDrawingEveryCall) {
    for (int bits : {16, 32}) {
        if (bits != 16) {  // 32 bits: other pixel sizes are copied and cleared
            TearDown();
            Start(bits);
        }
        for (bool steady : {false, true}) {
            if (bits != 16 && !steady) continue;
            const int frames = bits == 16 ? 400 : 150;  // enough to keep a background
            const std::vector<size_t> drawn = Play(false, frames, steady);
            const std::vector<size_t> reused = Play(true, frames, steady);
            ASSERT_EQ(drawn.size(), reused.size());
            for (size_t i = 0; i < drawn.size(); ++i)
                ASSERT_EQ(drawn[i], reused[i]) << "frame " << i << " steady " << steady << " bits " << bits;
        }
    }
}

}  // namespace
