#include "core/id_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <unordered_map>

namespace tk {
namespace {

// Seeded inserts, overwrites and erases, clustered so that probe runs wrap around the table
// and erasing from the middle of a run must move later entries back: after every step the
// table answers exactly as a map does.
TEST(IdTable, AnswersAsAMapThroughInsertsAndErases) {
  IdTable table;
  std::unordered_map<int, Element*> model;
  std::mt19937 random(7);
  alignas(8) char cells[64];  // distinct non-null addresses to store
  const auto address = [&](int i) { return reinterpret_cast<Element*>(&cells[i % 64]); };
  const int ids[] = {0, -1, 1, 2, 0x40000000, 0x40000002, INT32_MAX, INT32_MIN};
  for (int step = 0; step < 20000; ++step) {
    // Small ids collide often; the fixed ones are the edges of the id range.
    const int id = step % 7 == 0 ? ids[random() % 8] : static_cast<int>(random() % 300) * 64;
    if (random() % 3 == 0) {
      table.erase(id);
      model.erase(id);
    } else {
      table[id] = address(step);
      model[id] = address(step);
    }
    ASSERT_EQ(table.size(), model.size()) << "step " << step;
    if (step % 97 == 0) {
      for (int probe = -2; probe < 300 * 64; probe += 32) {
        const auto found = model.find(probe);
        ASSERT_EQ(table.Find(probe), found == model.end() ? nullptr : found->second)
            << "step " << step << " id " << probe;
      }
      for (const int edge : ids)
        ASSERT_EQ(table.count(edge), model.count(edge)) << "step " << step;
    }
  }
  table.clear();
  EXPECT_EQ(table.size(), 0u);
  EXPECT_EQ(table.Find(0), nullptr);
  EXPECT_THROW(table.at(64), std::out_of_range);
}

}  // namespace
}  // namespace tk
