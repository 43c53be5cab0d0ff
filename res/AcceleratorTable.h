#pragma once

#include <QKeyCombination>

#include <span>

struct Accelerator
{
    QKeyCombination key;
    int id;
};

// The accelerator table of resource 128: the framework's standard keys only.
class AcceleratorTable
{
public:
    [[nodiscard]] static std::span<const Accelerator> MainFrame();
};
