#include "services/import/RowPipeline.h"

#include <iterator>
#include <thread>

namespace velmora::import {

RowSource gridSource(const std::vector<const GridRows*>& grids, const QStringList& names)
{
    return {[grids, names](int sheet, QString* name, const RowTaker& take, QString*) {
                *name = names.value(sheet - 1);
                for (const QStringList& r : *grids.at(static_cast<size_t>(sheet - 1))) {
                    if (!take(r))
                        return Streamed::Failed;
                }
                return Streamed::Done;
            },
        [grids](int sheet) { return static_cast<int>(grids.at(static_cast<size_t>(sheet - 1))->size()); }};
}

RowSource streamSource(Workbook& book, const SheetShape* const shapes[], bool dataMonth, QString* error)
{
    return {[&book, shapes, dataMonth](int sheet, QString* name, const RowTaker& take, QString* why) {
                const auto top = [dataMonth](const SheetReader& in, int row) {
                    QString month, year;
                    return !dataMonth || in.index != 1 || row != 1 || readDataMonth(in, &month, &year);
                };
                return streamGrid(book, sheet, *shapes[sheet - 1], name, top, take, why);
            },
        [](int) { return 0; }, error, true};
}

bool RowQueue::push(std::vector<QStringList>& batch)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_rows.size() < kHeld || m_halted; });
    if (m_halted)
        return false;
    for (QStringList& r : batch)
        m_rows.push_back(std::move(r));
    batch.clear();
    m_changed.notify_all();
    return true;
}

void RowQueue::close()
{
    std::lock_guard lock(m_mutex);
    m_closed = true;
    m_changed.notify_all();
}

void RowQueue::halt()
{
    std::lock_guard lock(m_mutex);
    m_halted = true;
    m_changed.notify_all();
}

bool RowQueue::take(std::vector<QStringList>& out)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return !m_rows.empty() || m_closed; });
    if (m_rows.empty())
        return false;
    out.assign(std::make_move_iterator(m_rows.begin()), std::make_move_iterator(m_rows.end()));
    m_rows.clear();
    m_changed.notify_all();
    return true;
}

bool feed(const RowSource& source, int sheet, QString* name, SheetSave& save, bool* unordered)
{
    Streamed result = Streamed::Failed;
    QString readError;
    bool saved = true;
    if (!source.reading) {
        result = source.rows(
            sheet, name, [&](const QStringList& r) { return saved = save.take(r); }, &readError);
    } else {
        RowQueue queue;
        std::thread reader([&] {
            std::vector<QStringList> batch;
            batch.reserve(RowQueue::kBatch);
            result = source.rows(
                sheet, name,
                [&](const QStringList& r) {
                    batch.push_back(r);
                    return batch.size() < RowQueue::kBatch || queue.push(batch);
                },
                &readError);
            if (!batch.empty())
                queue.push(batch);
            queue.close();
        });
        std::vector<QStringList> rows;
        while (saved && queue.take(rows)) {
            for (const QStringList& r : rows) {
                if (!save.take(r)) {
                    saved = false;
                    break;
                }
            }
        }
        if (!saved)
            queue.halt();
        reader.join();
    }
    if (!saved)
        return false; // the save's message
    if (result == Streamed::Unordered) {
        *unordered = true;
        return false;
    }
    if (result == Streamed::Failed) {
        if (source.readError)
            *source.readError = readError;
        return false;
    }
    return save.finish();
}

} // namespace velmora::import
