#pragma once
#include <QString>
#include <QStringList>

#include "fixtures/CompanyFixture.h"
#include "fixtures/FixtureBuilder.h"
#include "fixtures/SampleData.h"
#include "fixtures/SystemFixture.h"

// One-call fixture databases for tests, built in a folder the test owns
// (a TestTempDir). Every helper prepares the embedded engine (private root
// with the server-file plug-in) first, so call them before any other
// connection of the test process. Credentials: the program's database user
// (fixtures::Credentials, ABACOR / dormil).
namespace testfx {

// Points the embedded engine at the private root with our plug-in.
void prepareEngine();

// The builder the helpers use (forced writes off).
const fixtures::FixtureBuilder& builder();

// "<folder>/wqaccdef2.fdb" with the sample operators, eras, office settings
// and free data-list slots (data root = folder).
QString makeSystemDb(const QString& folder,
                     fixtures::SystemGeneration generation = fixtures::SystemGeneration::Current);
// "<folder>/wqacc2.fdb" (folder created when missing) with the sample
// company of `kind`: settings, branches, departments, sub-accounts and
// openings; with `journal` also a year of journal lines.
QString makeCompanyDb(const QString& folder, fixtures::CompanyKind kind, bool journal = false);
// "<folder>/wqfileman.fdb".
QString makeFileManagerDb(const QString& folder);
// A whole stand-alone data root in `folder` (see fixtures::sample::buildDataRoot).
fixtures::sample::DataRoot makeDataRoot(const QString& folder, const fixtures::sample::DataRootOptions& options = {});

// The template backups of empty company databases that a migration
// restores, written into `folder` (created): "init_acc11.fbk", "init_acc21.fbk"
// to "init_acc23.fbk" and "init_acc24.fbK" (general data), "init_acc31.fbk"
// (medical-corporation data). Answers their paths.
QStringList makeInitTemplates(const QString& folder);

}  // namespace testfx
