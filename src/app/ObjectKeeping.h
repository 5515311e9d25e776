// The display objects of a kept state (RunState.h), one function per class
// that hands every field to the archive: writing, the fields of the living
// objects; reading, into objects made for it, which then are the objects
// that were kept.
//
// One pass over a scene lists its objects first, in an order fixed by the
// scene, so that an object refers to another by its place in that list; a
// graphic is written whole where it is first met and named by its number
// afterwards. Reading makes the graphics itself and gives them to the image
// store only when the whole state has been read (Adopt).
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "media/core/StateArchive.h"

class CBaseObj;
class CBlinkObj;
class CGameChar;
class CGraObj;
class CGraphic;
class CNumObj;
class CObjSet;
class CScrollObjSet;
class CTextMessageMng;
class GameData;
struct KeyConfig;
struct Tween;

namespace app {

class ObjectKeeper {
public:
    // `keys` and `data` are the run's: what the objects point to.
    ObjectKeeper(media::StateArchive& archive, KeyConfig* keys, GameData* data);
    ~ObjectKeeper();  // deletes the graphics made and not adopted
    ObjectKeeper(const ObjectKeeper&) = delete;
    ObjectKeeper& operator=(const ObjectKeeper&) = delete;

    media::StateArchive& archive;
    KeyConfig* const keys;
    GameData* const data;

    // Lists an object: references name it from now on.
    void List(CBaseObj& object);
    // A reference to a listed object, or null. A pointer to no listed object
    // (one left behind by an object freed, which the game no longer follows)
    // is kept as null. Reading, the archive fails for a reference to no listed
    // object or to one of another class.
    void Ref(CBaseObj*& object);
    template <typename T>
    void Ref(T*& object) {
        // Not converted while writing: the pointer may be left behind by an object freed.
        CBaseObj* base = object;
        if (archive.Writing()) return Ref(base);
        Ref(base);
        object = dynamic_cast<T*>(base);
        if (base && !object) archive.Fail();
    }
    // A pointer to the run's key table or game data: null or theirs.
    void KeysRef(KeyConfig*& pointer);
    void DataRef(GameData*& pointer);
    // A graphic shown by an object (never null: reading, the archive fails for none).
    void Graphic(CGraphic*& graphic);
    // Hands the graphics made while reading to the image store, which then owns them.
    void Adopt();

private:
    std::map<const CBaseObj*, uint32_t> m_numbers;
    std::vector<CBaseObj*> m_listed;
    std::map<const CGraphic*, uint32_t> m_graphicNumbers;  // writing
    std::vector<CGraphic*> m_graphics;                     // reading: made so far
    bool m_adopted = false;
};

void Keep(media::StateArchive& archive, Tween& tween);
void Keep(ObjectKeeper& keeper, CBaseObj& object);
void Keep(ObjectKeeper& keeper, CGraObj& object);
void Keep(ObjectKeeper& keeper, CNumObj& object);
void Keep(ObjectKeeper& keeper, CBlinkObj& object);
void Keep(ObjectKeeper& keeper, CObjSet& set);
void Keep(ObjectKeeper& keeper, CScrollObjSet& set);
void Keep(ObjectKeeper& keeper, CTextMessageMng& messages);
void Keep(ObjectKeeper& keeper, CGameChar& character);

}  // namespace app
