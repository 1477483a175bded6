/* Writes photo-like JPEG files for the LZH benchmark: smooth light and shade, edges, fine texture
 * and sensor noise, at the size and quality of a phone or camera picture.
 * Usage: lzh_photogen OUTPUT WIDTH HEIGHT SEED */
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <math.h>
#include <jpeglib.h>

static unsigned int state;
static int noise(int amplitude)
{
    state = state * 1103515245u + 12345u;
    return (int)((state >> 16) % (unsigned)(2 * amplitude + 1)) - amplitude;
}

static unsigned char clamp(double v)
{
    return (unsigned char)(v < 0 ? 0 : v > 255 ? 255 : v);
}

int main(int argc, char** argv)
{
    if (argc != 5) {
        fprintf(stderr, "usage: %s OUTPUT WIDTH HEIGHT SEED\n", argv[0]);
        return 2;
    }
    const int width = atoi(argv[2]);
    const int height = atoi(argv[3]);
    state = (unsigned)atoi(argv[4]);
    const double phase = (state % 100) / 10.0;
    FILE* out = fopen(argv[1], "wb");
    if (!out)
        return 1;
    struct jpeg_compress_struct cinfo;
    struct jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = (JDIMENSION)width;
    cinfo.image_height = (JDIMENSION)height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 88, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    unsigned char* row = malloc((size_t)width * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = (int)cinfo.next_scanline;
        for (int x = 0; x < width; ++x) {
            /* sky above a horizon, ground with texture below, a few structures with hard edges */
            const double fy = (double)y / height, fx = (double)x / width;
            const double horizon = 0.45 + 0.05 * sin(fx * 6.0 + phase);
            double r, g, b;
            if (fy < horizon) {
                r = 120 + 80 * fy; g = 160 + 60 * fy; b = 230 - 40 * fy;
            } else {
                const double t = sin(x * 0.31 + phase) * cos(y * 0.27) * 18 + sin(x * 0.043 + y * 0.051) * 25;
                r = 110 + t + 40 * fx; g = 100 + t; b = 80 + t * 0.5;
            }
            if (((x / 97 + y / 131) % 5) == 0 && fy > horizon - 0.2) {
                r = 180 + 30 * sin(y * 0.2); g = r - 10; b = r - 25;
            }
            row[3 * x + 0] = clamp(r + noise(6));
            row[3 * x + 1] = clamp(g + noise(6));
            row[3 * x + 2] = clamp(b + noise(6));
        }
        JSAMPROW pointer = row;
        jpeg_write_scanlines(&cinfo, &pointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    free(row);
    fclose(out);
    return 0;
}
