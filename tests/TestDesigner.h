// A designer for tests of property and component editors: it records what
// the editors tell it.
#pragma once

#include "framework/host/DesignIntf.h"

#include <string>
#include <vector>

namespace plx::test {

//! Counts Modified calls and keeps the names ShowMethod was given; a unique
//! name is the base followed by 1.
class TRecordingDesigner : public IDesigner {
public:
    explicit TRecordingDesigner(TComponent* root)
        : m_root(root)
    {
    }
    TComponent* Root() const override { return m_root; }
    void Modified() override { ++modified; }
    std::string UniqueName(const std::string& base) override { return base + "1"; }
    void SelectComponent(TPersistent*) override { }
    void ShowMethod(const std::string& name) override { shown.push_back(name); }

    int modified { 0 };
    std::vector<std::string> shown;

private:
    TComponent* m_root;
};

} // namespace plx::test
