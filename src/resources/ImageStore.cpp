#include "resources/ImageStore.h"

#include <cstdint>
#include <string>
#include <vector>

#include "objects/graphics/AnimeGraph.h"
#include "objects/graphics/BoxGraph.h"
#include "objects/graphics/PictGraph.h"
#include "objects/graphics/TextGraph.h"

namespace {

constexpr uint64_t kMaxCells = 65536;  // as in the file cache

}  // namespace

ImageStore* ImageStore::Instance() {
    static ImageStore store;
    return &store;
}

ImageStore::ImageStore() : m_files(std::make_unique<ImageFileCache>()) {
    // The program starts the media layer before any store exists, so that it is
    // ended after the store has given its images back at process exit.
    ReleaseAll();
}

ImageStore::~ImageStore() { ReleaseAll(); }

CPictGraph* ImageStore::CreatePicture(const char* name) {
    m_files->LoadImage(name);
    const int32_t handle = m_files->GetHandle(name);
    if (handle == 0) return nullptr;
    auto* graphic = new CPictGraph(handle);
    m_registry.insert(graphic);
    return graphic;
}

CAnimeGraph* ImageStore::CreateCells(const char* name, unsigned cols, unsigned rows, unsigned first, unsigned last) {
    const uint64_t count = uint64_t{cols} * rows;
    if (first >= count) first = static_cast<unsigned>(count > UINT32_MAX ? UINT32_MAX : count);
    if (last >= count) last = static_cast<unsigned>(count > UINT32_MAX ? UINT32_MAX : count);
    if (last < first) last = first;

    auto* graphic = new CAnimeGraph;
    if (cols != 0 && rows != 0 && name != nullptr && count <= kMaxCells) {
        m_files->LoadCells(name, cols, rows);
        const std::string base(name);
        for (uint64_t i = first; i <= last && i < count; ++i) {
            graphic->AddFrame(m_files->GetHandle((base + std::to_string(i)).c_str()));
        }
    }
    m_registry.insert(graphic);
    return graphic;
}

CTextGraph* ImageStore::CreateText(const char* text, unsigned lineHeight) {
    auto* graphic = new CTextGraph;
    graphic->SetText(text != nullptr ? text : "");
    graphic->m_lineHeight = lineHeight == 0 || lineHeight > INT32_MAX ? 1 : static_cast<int32_t>(lineHeight);
    m_registry.insert(graphic);
    return graphic;
}

CBoxGraph* ImageStore::CreateBox(int height) {
    auto* graphic = new CBoxGraph(160, height);
    m_registry.insert(graphic);
    return graphic;
}

void ImageStore::ReleaseGraphic(CGraphic* g) {
    const auto it = m_registry.find(g);
    if (it == m_registry.end()) return;
    m_registry.erase(it);
    g->Release();
    delete g;
}

void ImageStore::ReleaseAll() {
    if (m_files) m_files->ReleaseAll();
    std::set<CGraphic*> graphics;
    graphics.swap(m_registry);
    for (CGraphic* g : graphics) {
        g->Release();
        delete g;
    }
}
