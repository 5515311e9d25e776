// The sound store: one looping piece of music, effects loaded on first use.
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "ObjectsTestSupport.h"
#include "media/Media.h"
#include "media/headless/HeadlessControls.h"
#include "resources/SoundStore.h"

using namespace objtest;

namespace {

class SoundStoreTest : public MediaTest {
protected:
    SoundStore* store = nullptr;
    void SetUp() override {
        MediaTest::SetUp();
        store = SoundStore::Instance();
        WriteWav("sound/Theme1.wav", 22050);
        WriteWav("sound/Theme2.wav", 22050);
        WriteWav("sound/Select.wav", 2205);
    }
    // Peak sample level of the next few milliseconds of output.
    static int Peak() {
        int peak = 0;
        for (int16_t v : media::headless::RenderAudio(960)) peak = std::max(peak, std::abs(int{v}));
        return peak;
    }
};

}  // namespace

TEST_F(SoundStoreTest, MusicIsStartedOnceAndRampsInThroughTheVolumeStep) {
    store->PlayMusic("Theme1.wav");
    const int first = store->m_music;
    ASSERT_GT(first, 0);
    EXPECT_EQ(store->m_musicName, "sound/Theme1.wav");
    EXPECT_EQ(store->m_volume.value, 255.0);
    EXPECT_EQ(Peak(), 0);  // starts silent until the main loop's volume step

    store->StepMusicVolume();
    EXPECT_GT(Peak(), 0);

    store->m_volume = {100.0, 0.0, -10.0};  // a fade-out in progress
    store->PlayMusic("Theme1.wav");         // same piece: nothing changes, not even the volume
    EXPECT_EQ(store->m_music, first);
    EXPECT_EQ(store->m_volume.value, 100.0);
    EXPECT_EQ(store->m_volume.step, -10.0);
    for (int i = 0; i < 10; ++i) store->StepMusicVolume();
    EXPECT_EQ(store->m_volume.value, 0.0);
    Peak();
    EXPECT_EQ(Peak(), 0);
}

TEST_F(SoundStoreTest, AnotherPieceFreesTheFirst) {
    store->PlayMusic("Theme1.wav");
    const int first = store->m_music;
    store->PlayMusic("Theme2.wav");
    EXPECT_NE(store->m_music, first);
    EXPECT_GT(store->m_music, 0);
    EXPECT_EQ(StopSoundHandle(first), -1);  // the first handle is gone
    EXPECT_EQ(store->m_musicName, "sound/Theme2.wav");

    store->PlayMusic("Missing.wav");  // a missing piece is remembered and not retried
    EXPECT_EQ(store->m_music, -1);
    WriteWav("sound/Missing.wav", 100);
    store->PlayMusic("Missing.wav");
    EXPECT_EQ(store->m_music, -1);
    store->StepMusicVolume();  // harmless without music
}

TEST_F(SoundStoreTest, EffectsLoadOnceAndAreReloadedAfterStopMusic) {
    store->PlayMusic("Theme1.wav");
    store->PlayEffect("Select.wav");
    const int effect = store->GetHandle("Select.wav");
    ASSERT_GT(effect, 0);
    store->PlayEffect("Select.wav");
    store->PlayEffect("Select.wav");
    EXPECT_EQ(store->GetHandle("Select.wav"), effect);
    EXPECT_EQ(store->m_handles.size(), 1u);

    const int music = store->m_music;
    store->StopMusic();
    EXPECT_EQ(store->m_music, 0);
    EXPECT_TRUE(store->m_musicName.empty());
    EXPECT_TRUE(store->m_handles.empty());
    EXPECT_EQ(store->m_volume.value, 0.0);
    EXPECT_EQ(StopSoundHandle(music), -1);
    EXPECT_EQ(StopSoundHandle(effect), -1);
    store->StopMusic();  // again: harmless

    store->PlayEffect("Select.wav");
    EXPECT_GT(store->GetHandle("Select.wav"), 0);
    EXPECT_EQ(store->GetHandle("Absent.wav"), 0);
}

TEST_F(SoundStoreTest, MissingEffectsAreRememberedUntilReleased) {
    store->PlayEffect("Cancel.wav");
    EXPECT_EQ(store->GetHandle("Cancel.wav"), -1);
    WriteWav("sound/Cancel.wav", 500);
    store->PlayEffect("Cancel.wav");
    EXPECT_EQ(store->GetHandle("Cancel.wav"), -1);
    store->ReleaseEffects();
    store->LoadEffect("Cancel.wav");
    EXPECT_GT(store->GetHandle("Cancel.wav"), 0);
}
