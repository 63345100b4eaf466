// scores.hi under a killed save and a full disk, in child processes: POSIX only.
#include <gtest/gtest.h>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include "highscores.h"
#include "support.h"

// A save of Kestrel's 777 killed at any of 1000 random moments leaves scores.hi the old table or the new.
TEST(ScoreFile, KilledSavesNeverTearIt)
{
   auto save_table = [](int which) {                  // the default table, or Kestrel's 777 in it
      create_highscores();
      update_highscores("Kestrel", 777 * which);
      return save_highscores("scores.hi");
   };
   bytes_t images[2];
   remove("scores.hi");
   for (int t : {0, 1}) {
      ASSERT_TRUE(save_table(t));
      images[t] = read_file("scores.hi");
   }
   int seen[2] = {0, 0}, mid_save = 0;
   for (int trial = 0; trial < 1000; trial++) {
      write_file("scores.hi", images[0]);
      pid_t child = fork();
      ASSERT_GE(child, 0);
      if (child == 0)
         for (;;)
            save_table(1);
      usleep(rand() % 4000);
      kill(child, SIGKILL);
      ASSERT_EQ(waitpid(child, nullptr, 0), child);
      const bytes_t now = read_file("scores.hi");
      ASSERT_TRUE(now == images[0] || now == images[1]) << now.size() << " bytes, neither table, after kill " << trial;
      seen[now == images[1]]++;
      mid_save += remove("scores.hi.tmp") == 0;
   }
   EXPECT_TRUE(seen[0] > 0 && seen[1] > 0 && mid_save > 0) << seen[0] << " / " << seen[1] << ", mid-save " << mid_save;
}

// A full disk cutting saves off at several points keeps the old file, leaves no temporary, and play goes on.
TEST(ScoreFile, FullDiskKeepsTheOldFileAndPlayGoesOn)
{
   create_highscores();
   ASSERT_TRUE(save_highscores("scores.hi"));
   const bytes_t before = read_file("scores.hi");
   for (rlim_t limit : {0, 1, 16, 100, 111}) {
      pid_t child = fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
         signal(SIGXFSZ, SIG_IGN);
         const struct rlimit full = {limit, limit};
         setrlimit(RLIMIT_FSIZE, &full);
         update_highscores("Kestrel", 9000);
         _exit(save_highscores("scores.hi") || save_highscores("scores.hi") || strcmp(high_scores[0].name, "Kestrel"));
      }
      int status = 0;
      ASSERT_EQ(waitpid(child, &status, 0), child);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0 && read_file("scores.hi") == before &&
                  access("scores.hi.tmp", F_OK) == -1) << "limit " << limit << ", status " << status;
   }
}
