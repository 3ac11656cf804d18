// Talk modes: the numbers that name speech, private messages, channel talk
// and server messages. The server messages, the client's talk command, the
// texts on the map and the console all share them.
#pragma once

enum : int {
    TALK_SAY = 1,
    TALK_WHISPER = 2,
    TALK_YELL = 3,
    TALK_PRIVATE_MESSAGE = 4,
    TALK_CHANNEL_CALL = 5,
    TALK_GAMEMASTER_REQUEST = 6,
    TALK_GAMEMASTER_ANSWER = 7,
    TALK_PLAYER_ANSWER = 8,
    TALK_GAMEMASTER_BROADCAST = 9,
    TALK_GAMEMASTER_CHANNELCALL = 10,
    TALK_GAMEMASTER_MESSAGE = 11,
    TALK_CHANNEL_HIGHLIGHT = 12,  // the server's highlighted channel talk
    TALK_ANONYMOUS_BROADCAST = 13,
    TALK_ANONYMOUS_CHANNELCALL = 14,
    TALK_ANONYMOUS_MESSAGE = 15,
    TALK_ANIMAL_LOW = 16,
    TALK_ANIMAL_LOUD = 17,
    TALK_INFO_MESSAGE = 18,
    TALK_EVENT_MESSAGE = 19,
    TALK_STATUS_MESSAGE = 20,
    TALK_LOGIN_MESSAGE = 21,
    TALK_ADMIN_MESSAGE = 22,
    TALK_FAILURE_MESSAGE = 23,
};
