// The title's landscape: pictures, layout, scroll speeds, blink and tints.
#include "title/TitleObjects.h"

#include "objects/ObjectList.h"
#include "objects/graphics/WordPicture.h"

namespace {

const char* const kWalkerSheets[4] = {"CharY.bmp", "CharR.bmp", "CharG.bmp", "CharB.bmp"};

}  // namespace

TitleObjects::TitleObjects() {
    updateList = {&bars, &cloud,   &mountains, &walkers[0], &walkers[1],  &walkers[2],    &walkers[3],
                  &logo, &pushKey, &walkerRow, &clouds,     &groundStrip, &mountainStrip, &sky};
}

TitleObjects::~TitleObjects() {
    for (CBaseObj* o : updateList) o->Release();
    updateList.clear();
}

void TitleObjects::Build() {
    ResetAll(updateList);

    bars.AddBox(20);
    cloud.AddPicture("kumo.bmp");
    ground.AddPicture("jimen.bmp");
    mountains.AddPicture("yama.bmp");
    for (int i = 0; i < 4; ++i) walkers[i].AddCells(kWalkerSheets[i], 4, 4, -1, 0, 3);
    logo.AddPicture("TitleLogo.bmp");
    pushKey.AddPicture(WordPicture("PushZkey.bmp").c_str());
    sky.AddBox(120);
    for (auto& w : walkers) w.m_frameWait = 7;

    for (int i = 0; i < 12; ++i) walkerRow.Add(&walkers[i % 4], static_cast<float>(16 * i), 0.0f);
    walkerRow.m_wrapW = 192;
    walkerRow.m_wrapH = 16;
    walkerRow.m_scrollX = 0.3f;
    walkerRow.m_scrollY = 0.0f;

    clouds.Add(&cloud, 0, 0);
    clouds.Add(&cloud, 100, 30);
    clouds.Add(&cloud, 200, 15);
    clouds.m_wrapW = 320;
    clouds.m_wrapH = 100;
    clouds.m_scrollX = -0.05f;
    clouds.m_scrollY = 0.0f;

    mountainStrip.Add(&mountains, 0, 0);
    mountainStrip.Add(&mountains, 320, 0);
    mountainStrip.m_wrapW = 639;
    mountainStrip.m_wrapH = 100;
    mountainStrip.m_scrollX = -0.1f;
    mountainStrip.m_scrollY = 0.0f;

    groundStrip.Add(&ground, 0, 0);
    groundStrip.Add(&ground, 320, 0);
    groundStrip.m_wrapW = 639;
    groundStrip.m_wrapH = 100;
    groundStrip.m_scrollX = -0.15f;
    groundStrip.m_scrollY = 0.0f;

    logo.SetPos(21, 37);
    pushKey.SetPos(45, 66);
    walkerRow.SetPos(-16, 82);
    clouds.SetPos(-80, 21);
    groundStrip.SetPos(-320, 72);
    mountainStrip.SetPos(-320, 26);
    sky.SetPos(0, 0);

    pushKey.m_blinkHigh = 255.0f;
    pushKey.m_blinkLow = 50.0f;
    pushKey.m_blinkStep = 3.0f;
    pushKey.m_blinkMode = 1;
    pushKey.m_blinkValue = 255.0f;

    for (auto& t : bars.m_bright) t.MoveTo(0, 0.0);
    sky.m_bright[0].MoveTo(0, 128.0);
    sky.m_bright[1].MoveTo(0, 128.0);
    sky.m_bright[2].MoveTo(0, 255.0);
}

void TitleObjects::Draw() {
    sky.Draw();
    clouds.Draw();
    mountainStrip.Draw();
    groundStrip.Draw();
    walkerRow.Draw();
    bars.DrawAt(0, 0);
    bars.DrawAt(0, 100);
    logo.Draw();
    pushKey.Draw();
}
