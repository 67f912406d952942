// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/ListOperations.h"

#include "media/VideoListModel.h"

namespace zantrove {

UserMessage ClearListQuestion()
{
    return {MessageIcon::Question, "Are you sure you would like to clear your list?"};
}

UserMessage SelectFileFirstMessage()
{
    return {MessageIcon::Information, "Please, select a file first!"};
}

UserMessage SelectVideoFileFirstMessage()
{
    return {MessageIcon::Exclamation, "Please, select a video file first."};
}

UserMessage FilePropertiesErrorMessage()
{
    return {MessageIcon::Critical, "Error while trying to view file properties!"};
}

void ClearListItems(VideoListModel& list, const AskYesNo& ask)
{
    if (ask && ask(ClearListQuestion()))
        list.Clear();
}

Verdict OpenSelectedVideoFile(const VideoListModel& list, const ShellRequest& open)
{
    const VideoRow* row = list.Row(list.CurrentRow());
    if (row == nullptr)
        return Unexpected{SelectFileFirstMessage()};
    if (open)
        open(row->filepath);
    return {};
}

Verdict ShowSelectedFileProperties(const VideoListModel& list, const ShellRequest& showProperties)
{
    const VideoRow* row = list.Row(list.CurrentRow());
    if (row == nullptr || row->filepath.empty())
        return Unexpected{SelectVideoFileFirstMessage()};
    if (!showProperties || !showProperties(row->filepath))
        return Unexpected{FilePropertiesErrorMessage()};
    return {};
}

} // namespace zantrove
