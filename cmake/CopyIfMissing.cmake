# Copies SOURCE to TARGET unless TARGET exists: the user's favorites are never overwritten.
if(NOT EXISTS "${TARGET}")
    file(COPY_FILE "${SOURCE}" "${TARGET}")
endif()
