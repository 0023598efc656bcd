# cmake -DRSVG=... -DSVG=... -DOUT=... -DSIZES="16;32;..." -P render_icon_sizes.cmake:
# renders the picture at each size into OUT/icon-SIZE.png for the .exe's icon.
foreach(size ${SIZES})
  execute_process(COMMAND ${RSVG} -w ${size} -h ${size} -o ${OUT}/icon-${size}.png ${SVG} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "rsvg-convert failed at ${size}")
  endif()
endforeach()
