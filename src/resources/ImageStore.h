// The one image store: loads each picture from "image/" once and makes the
// graphics, keeping a registry of every graphic it made (it owns them).
#pragma once

#include <memory>
#include <set>

#include "resources/ImageFileCache.h"

class CGraphic;
class CPictGraph;
class CAnimeGraph;
class CTextGraph;
class CBoxGraph;

class ImageStore {
public:
    static ImageStore* Instance();
    ~ImageStore();

    CPictGraph* CreatePicture(const char* name);
    CAnimeGraph* CreateCells(const char* name, unsigned cols, unsigned rows, unsigned first, unsigned last);
    CTextGraph* CreateText(const char* text, unsigned lineHeight);
    CBoxGraph* CreateBox(int height);
    // Releases and deletes a registered graphic; anything else is ignored.
    void ReleaseGraphic(CGraphic* g);
    // Frees every image and every registered graphic.
    void ReleaseAll();

    std::unique_ptr<ImageFileCache> m_files;
    std::set<CGraphic*> m_registry;

private:
    ImageStore();
};
