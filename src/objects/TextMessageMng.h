// A paged message window; buttons 4 and 5 turn the page.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "objects/BaseObj.h"

class CGraObj;
struct KeyConfig;

class CTextMessageMng : public CBaseObj {
public:
    CTextMessageMng();
    ~CTextMessageMng() override;

    void Release() override;
    void Reset() override;
    void Draw() override;
    void Update() override;
    void DrawAt(int x, int y) override;
    void SetPos(int x, int y) override;

    void SetMessages(const std::vector<std::string>& pages);

    CGraObj* m_pages = nullptr;  // owned
    uint32_t m_page = 0;
    KeyConfig* m_keys = nullptr;
    int32_t m_lineHeight = 8;
    uint32_t m_pageCount = 0;
};
