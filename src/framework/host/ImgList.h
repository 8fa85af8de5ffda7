// TImageList: equal-sized images, each with an optional mask, in numbered slots.
#pragma once

#include "color/host/Bitmap.h"
#include "framework/host/Component.h"

#include <memory>
#include <vector>

namespace plx {

//! A list of images of one size (Width x Height). Images are kept by value;
//! Add copies the picture (scaled to the cell when its size differs), Replace
//! overwrites a slot, Delete removes it and the later slots move down.
class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner);
    //! A list whose cells are width x height (sizes below 1 count as 1).
    TImageList(TComponent* owner, std::int32_t width, std::int32_t height);

    [[nodiscard]] std::int32_t Width() const noexcept { return m_width; }
    //! Changing the cell size empties the list.
    void SetWidth(std::int32_t value);
    [[nodiscard]] std::int32_t Height() const noexcept { return m_height; }
    void SetHeight(std::int32_t value);
    [[nodiscard]] std::int32_t Count() const noexcept { return static_cast<std::int32_t>(m_images.size()); }

    //! Appends an image (and its mask, which may be null); returns its index.
    virtual std::int32_t Add(const TBitmap& image, const TBitmap* mask);
    //! Appends an image whose pixels of maskColor are transparent.
    std::int32_t AddMasked(const TBitmap& image, TColor maskColor);
    //! Raises EInvalidOperation ("Invalid image list index") out of range.
    virtual void Replace(std::int32_t index, const TBitmap& image, const TBitmap* mask);
    virtual void Delete(std::int32_t index);
    void Clear();
    //! Copies image index into bitmap (sized to the cell).
    void GetBitmap(std::int32_t index, TBitmap& bitmap) const;
    //! Draws image index at (x, y); masked pixels stay as they are.
    void Draw(TCanvas& canvas, std::int32_t x, std::int32_t y, std::int32_t index) const;

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();

private:
    struct Entry {
        std::unique_ptr<TBitmap> image;
        std::unique_ptr<TBitmap> mask; //!< monochrome: white where the background stays
    };
    void CheckIndex(std::int32_t index) const;
    [[nodiscard]] Entry MakeEntry(const TBitmap& image, const TBitmap* mask) const;

    std::int32_t m_width { 16 };
    std::int32_t m_height { 16 };
    std::vector<Entry> m_images;
};

} // namespace plx
