#include "core/program_files.h"
#include "core/program_info.h"

#include "support/test_files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pote {
namespace {

TEST(DataFolder, BesideTheProgramFirstThenTheInstalledShareFolder) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString bin = root.filePath(QStringLiteral("ぽてまる/bin"));
    const QString share = root.filePath(QStringLiteral("ぽてまる/share/poteedit"));
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(share + QStringLiteral("/help")));
    test::writeAll(share + QStringLiteral("/potemaru.sss"), "sheet");

    EXPECT_EQ(dataFolderFor(bin, QStringLiteral("potemaru.sss")), share) << "an installed program";
    EXPECT_EQ(dataFolderFor(bin, QStringLiteral("help")), share) << "folders count too";
    EXPECT_EQ(manualFolderFor(bin), share + QStringLiteral("/help"));
    EXPECT_TRUE(commandLineHelp(manualFolderFor(bin))
                    .endsWith(QStringLiteral("マニュアル: ") + share +
                              QStringLiteral("/help/index.html\n")));
    EXPECT_EQ(dataFolderFor(bin, QStringLiteral("missing.dat")), bin)
        << "nowhere: the program folder, where a user looks first";

    test::writeAll(bin + QStringLiteral("/potemaru.sss"), "sheet");
    EXPECT_EQ(dataFolderFor(bin, QStringLiteral("potemaru.sss")), bin)
        << "a build folder's own files win";
}

TEST(ProgramInfo, OnlyTheFirstArgumentIsAnOption) {
    EXPECT_EQ(programOption({}), ProgramOption::Run);
    EXPECT_EQ(programOption({"--help"}), ProgramOption::Help);
    EXPECT_EQ(programOption({"-h", "a.ptm"}), ProgramOption::Help);
    EXPECT_EQ(programOption({"--version"}), ProgramOption::Version);
    EXPECT_EQ(programOption({"/d"}), ProgramOption::Run);
    EXPECT_EQ(programOption({"a.ptm", "--help"}), ProgramOption::Run)
        << "a later word may be part of a path split at its spaces";
    EXPECT_EQ(versionLine(),
              QStringLiteral("ぽてまるエディター (poteedit) Version ") + programVersion());
    EXPECT_FALSE(programVersion().isEmpty());
}

} // namespace
} // namespace pote
