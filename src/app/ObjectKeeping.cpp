#include "app/ObjectKeeping.h"

#include "app/input/KeyConfig.h"
#include "game/rules/state/GameData.h"
#include "game/world/GameChar.h"
#include "objects/BlinkObj.h"
#include "objects/GraObj.h"
#include "objects/NumObj.h"
#include "objects/ObjSet.h"
#include "objects/ScrollObjSet.h"
#include "objects/TextMessageMng.h"
#include "objects/graphics/AnimeGraph.h"
#include "objects/graphics/BoxGraph.h"
#include "objects/graphics/PictGraph.h"
#include "objects/graphics/TextGraph.h"
#include "resources/ImageStore.h"

namespace app {

namespace {

// Far beyond anything a game makes; only a damaged state comes near.
constexpr size_t kMaxItems = 1 << 20;

enum GraphicKind : uint8_t { kPlain = 0, kPicture = 1, kCells = 2, kText = 3, kBox = 4 };

GraphicKind KindOf(const CGraphic* graphic) {
    if (dynamic_cast<const CPictGraph*>(graphic)) return kPicture;
    if (dynamic_cast<const CAnimeGraph*>(graphic)) return kCells;
    if (dynamic_cast<const CTextGraph*>(graphic)) return kText;
    if (dynamic_cast<const CBoxGraph*>(graphic)) return kBox;
    return kPlain;
}

CGraphic* MakeGraphic(GraphicKind kind) {
    switch (kind) {
        case kPicture: return new CPictGraph(-1);
        case kCells: return new CAnimeGraph();
        case kText: return new CTextGraph();
        case kBox: return new CBoxGraph(0, 0);
        case kPlain: return new CGraphic();
    }
    return nullptr;
}

void KeepFields(media::StateArchive& archive, CGraphic* graphic) {
    if (auto* picture = dynamic_cast<CPictGraph*>(graphic)) {
        archive.Value(picture->m_image);
    } else if (auto* cells = dynamic_cast<CAnimeGraph*>(graphic)) {
        cells->m_frames.resize(archive.Count(cells->m_frames.size(), kMaxItems));
        for (int32_t& frame : cells->m_frames) archive.Value(frame);
        archive.Value(cells->m_frame);
    } else if (auto* text = dynamic_cast<CTextGraph*>(graphic)) {
        for (std::string& line : text->m_lines) archive.Value(line);
        archive.Value(text->m_lineHeight);
    } else if (auto* box = dynamic_cast<CBoxGraph*>(graphic)) {
        archive.Value(box->m_width);
        archive.Value(box->m_height);
    }
}

}  // namespace

ObjectKeeper::ObjectKeeper(media::StateArchive& a, KeyConfig* k, GameData* d) : archive(a), keys(k), data(d) {}

ObjectKeeper::~ObjectKeeper() {
    if (m_adopted) return;
    for (CGraphic* graphic : m_graphics) delete graphic;
}

void ObjectKeeper::List(CBaseObj& object) {
    m_numbers.emplace(&object, static_cast<uint32_t>(m_listed.size()));
    m_listed.push_back(&object);
}

void ObjectKeeper::Ref(CBaseObj*& object) {
    uint32_t number = 0;  // 0: null, else the place in the list + 1
    if (archive.Writing() && object) {
        const auto it = m_numbers.find(object);
        number = it == m_numbers.end() ? 0 : it->second + 1;
    }
    archive.Value(number);
    if (archive.Writing()) return;
    if (number > m_listed.size()) {
        archive.Fail();
        number = 0;
    }
    object = number == 0 ? nullptr : m_listed[number - 1];
}

void ObjectKeeper::KeysRef(KeyConfig*& pointer) {
    bool set = pointer != nullptr;
    archive.Value(set);
    pointer = set ? keys : nullptr;
}

void ObjectKeeper::DataRef(GameData*& pointer) {
    bool set = pointer != nullptr;
    archive.Value(set);
    pointer = set ? data : nullptr;
}

void ObjectKeeper::Graphic(CGraphic*& graphic) {
    // 0: null; a number up to those met so far: that graphic; the next number: a new one, whole.
    uint32_t number = 0;
    if (archive.Writing()) {
        if (graphic) {
            const auto [it, added] = m_graphicNumbers.emplace(graphic, m_graphicNumbers.size() + 1);
            number = it->second;
            archive.Value(number);
            if (!added) return;
            uint8_t kind = KindOf(graphic);
            archive.Value(kind);
            KeepFields(archive, graphic);
            return;
        }
        archive.Value(number);
        return;
    }
    archive.Value(number);
    graphic = nullptr;
    if (number == 0) archive.Fail();
    if (!archive.Ok()) return;
    if (number <= m_graphics.size()) {
        graphic = m_graphics[number - 1];
        return;
    }
    uint8_t kind = 0;
    archive.Value(kind);
    if (number != m_graphics.size() + 1 || kind > kBox) {
        archive.Fail();
        return;
    }
    graphic = MakeGraphic(static_cast<GraphicKind>(kind));
    m_graphics.push_back(graphic);
    KeepFields(archive, graphic);
}

void ObjectKeeper::Adopt() {
    ImageStore* store = ImageStore::Instance();
    for (CGraphic* graphic : m_graphics) store->m_registry.insert(graphic);
    m_adopted = true;
}

void Keep(media::StateArchive& archive, Tween& tween) {
    archive.Value(tween.value);
    archive.Value(tween.target);
    archive.Value(tween.step);
}

void Keep(ObjectKeeper& keeper, CBaseObj& object) {
    keeper.archive.Value(object.m_x);
    keeper.archive.Value(object.m_y);
}

void Keep(ObjectKeeper& keeper, CGraObj& object) {
    media::StateArchive& archive = keeper.archive;
    Keep(keeper, static_cast<CBaseObj&>(object));
    object.m_graphics.resize(archive.Count(object.m_graphics.size(), kMaxItems));
    for (CGraphic*& graphic : object.m_graphics) keeper.Graphic(graphic);
    archive.Value(object.m_current);
    archive.Value(object.m_frameWait);
    archive.Value(object.m_frameCount);
    Keep(archive, object.m_alpha);
    for (Tween& tween : object.m_bright) Keep(archive, tween);
    archive.Value(object.m_turn);
    bool stored = object.m_store != nullptr;
    archive.Value(stored);
    object.m_store = stored ? ImageStore::Instance() : nullptr;
}

void Keep(ObjectKeeper& keeper, CNumObj& object) {
    media::StateArchive& archive = keeper.archive;
    Keep(keeper, static_cast<CGraObj&>(object));
    archive.Value(object.m_posX);
    archive.Value(object.m_posY);
    archive.Value(object.m_value);
    archive.Value(object.m_max);
    archive.Value(object.m_min);
    archive.Value(object.m_maxDigits);
    archive.Value(object.m_digitCount);
    object.m_digits.resize(archive.Count(object.m_digits.size(), 64));
    for (int8_t& digit : object.m_digits) archive.Value(digit);
    archive.Value(object.m_digitPitch);
}

void Keep(ObjectKeeper& keeper, CBlinkObj& object) {
    media::StateArchive& archive = keeper.archive;
    Keep(keeper, static_cast<CGraObj&>(object));
    archive.Value(object.m_blinkHigh);
    archive.Value(object.m_blinkLow);
    archive.Value(object.m_blinkValue);
    archive.Value(object.m_blinkStep);
    archive.Value(object.m_blinkMode);
}

void Keep(ObjectKeeper& keeper, CObjSet& set) {
    media::StateArchive& archive = keeper.archive;
    Keep(keeper, static_cast<CBaseObj&>(set));
    set.m_children.resize(archive.Count(set.m_children.size(), kMaxItems));
    for (CBaseObj*& child : set.m_children) keeper.Ref(child);
    set.m_offsets.resize(archive.Count(set.m_offsets.size(), kMaxItems));
    for (ObjOffset& offset : set.m_offsets) {
        archive.Value(offset.x);
        archive.Value(offset.y);
    }
}

void Keep(ObjectKeeper& keeper, CScrollObjSet& set) {
    media::StateArchive& archive = keeper.archive;
    Keep(keeper, static_cast<CObjSet&>(set));
    set.m_sizes.resize(archive.Count(set.m_sizes.size(), kMaxItems));
    for (ObjSize& size : set.m_sizes) {
        archive.Value(size.w);
        archive.Value(size.h);
    }
    archive.Value(set.m_scrollX);
    archive.Value(set.m_scrollY);
    archive.Value(set.m_wrapW);
    archive.Value(set.m_wrapH);
}

void Keep(ObjectKeeper& keeper, CTextMessageMng& messages) {
    media::StateArchive& archive = keeper.archive;
    Keep(keeper, static_cast<CBaseObj&>(messages));
    bool pages = messages.m_pages != nullptr;
    archive.Value(pages);
    if (pages != (messages.m_pages != nullptr)) archive.Fail();  // every message window of a scene has its pages
    if (messages.m_pages) Keep(keeper, *messages.m_pages);
    archive.Value(messages.m_page);
    keeper.KeysRef(messages.m_keys);
    archive.Value(messages.m_lineHeight);
    archive.Value(messages.m_pageCount);
}

void Keep(ObjectKeeper& keeper, CGameChar& character) {
    media::StateArchive& archive = keeper.archive;
    Keep(keeper, static_cast<CGraObj&>(character));
    archive.Value(character.mode);
    archive.Value(character.visible);
    archive.Value(character.colour);
    archive.Value(character.moveCounter);
    archive.Value(character.moveWait);
    archive.Value(character.targetX);
    archive.Value(character.targetY);
    archive.Value(character.velX);
    archive.Value(character.velY);
    archive.Value(character.flyX);
    archive.Value(character.flyY);
    bool hasStats = character.stats != nullptr;
    archive.Value(hasStats);
    if (hasStats && !character.stats) character.stats = new UnitStats();
    if (!hasStats) {
        delete character.stats;
        character.stats = nullptr;
        return;
    }
    UnitStats& stats = *character.stats;
    for (int32_t* value : {&stats.level, &stats.hp, &stats.maxHp, &stats.hpGrowth, &stats.attack, &stats.attackGrowth,
                           &stats.defence, &stats.defenceGrowth})
        archive.Value(*value);
}

}  // namespace app
