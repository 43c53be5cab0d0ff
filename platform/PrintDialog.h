// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#pragma once

#include <functional>

class QPrinter;
class QWidget;

// The standard print dialog followed by the print job.
class PrintDialog
{
public:
    // Prints onto the printer the user set up; returns whether the job succeeded.
    using Job = std::function<bool(QPrinter& printer)>;
    // Stands in for the dialog: sets the printer up and returns false for Cancel.
    using Hook = std::function<bool(QPrinter& printer)>;

    // Shows the dialog and, unless cancelled, runs the job. Returns false for Cancel.
    static bool Run(QWidget* parent, const Job& job);
    // Shows the dialog only; false for Cancel.
    static bool Ask(QPrinter& printer, QWidget* parent);

    static Hook SetHook(Hook hook);
};
