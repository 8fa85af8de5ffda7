// ColorBtns: TColor95Button, a speed button whose face is painted in one of
// eleven styles from a single colour; DrawButtonFace, the face painter; and the
// glyph machinery behind it: TButtonGlyph, TGlyphList and the shared TGlyphCache.
#pragma once

#include "color/host/Bitmap.h"
#include "framework/host/Buttons.h"
#include "framework/host/Control.h"
#include "framework/host/ImgList.h"
#include "rtl/Set.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace plx {

class TClassInfo;
class TTimer;
struct TEnumInfo;

enum TClr95ButtonStyle : std::uint8_t {
    bsWin31, //!< a dark outline with rounded corners and a two-pixel bevel
    bsNew, //!< two one-pixel bevels
    bsEllipse, //!< an elliptic face with shaded arcs; the corners keep what was there
    bsTab, //!< a tab opening upwards
    bsIE4, //!< flat; an edge only when pressed, hovered or in the designer
    bsSideDownTab, //!< a tab opening downwards
    bsGlass, //!< a white face in outlines of the colour's shades
    bsFlat, //!< one one-pixel bevel
    bsOwnerDraw, //!< painted by OnOwnerDraw (bsNew without a handler)
    bsMicroposeGame, //!< a chamfered octagon in two-pixel shaded lines
    bsGradient, //!< horizontal gradient bands inside a one-pixel bevel
};

enum TButtonState : std::uint8_t { bsUp, bsDisabled, bsDown, bsExclusive };
enum TButtonOption : std::uint8_t {
    boShowMouseFocus, //!< hover tint and the mouse-over sound
    boRepeatable, //!< clicks repeat while the button is held
    boDitherPattern, //!< a down button of a group shows a dithered face
    boAutoBlackWhiteText, //!< the caption is black on light colours, white on dark ones
};
using TButtonOptions = TSet<TButtonOption>;
//! The number of cells side by side in a glyph picture, 1..4: up, disabled,
//! down, exclusive.
using TNumGlyphs = std::int32_t;
//! Paints the face of a bsOwnerDraw button; the rectangle the handler leaves in
//! btnRect is where the glyph and caption are then laid out.
using TClrBtnOwnerDrawEvent = std::function<void(TObject* sender, TCanvas& canvas, TRect& btnRect)>;

//! Paints a button face in client and returns the content rectangle left for
//! the glyph and caption. Every shade derives from color (system colours are
//! resolved); isDown draws the pressed face, whose content rectangle is one
//! pixel smaller on every side. The canvas's brush and pen stay as the style's
//! last step left them (a clear brush after bsEllipse, bsGlass and bsIE4, a
//! two-pixel pen after bsMicroposeGame); the face starts from a one-pixel solid
//! pen whatever the canvas had.
TRect DrawButtonFace(TCanvas& canvas, const TRect& client, TClr95ButtonStyle style, bool isDesigning, bool isDown,
    bool isMouseOver, TColor color);

//! The 8 x 8 dither pattern of a down button in color and its brightened shade,
//! in the unit's own pattern bitmap (refilled at every call, not a copy); null
//! while the unit is not started.
TBitmap* DitherBitmap(TColor color);

//! Equal-sized glyph images in reusable slots: adding takes the lowest free slot
//! and grows the list by one only when none is free; deleting frees a slot.
//! Count is the number of slots in use.
class TGlyphList : public TImageList {
public:
    TGlyphList(std::int32_t width, std::int32_t height);

    //! Stores the image in the lowest free slot and returns the slot.
    std::int32_t Add(const TBitmap& image, const TBitmap* mask) override;
    //! Frees the slot (a free slot stays free); raises EInvalidOperation out of range.
    void Delete(std::int32_t index) override;
    [[nodiscard]] std::int32_t Count() const noexcept { return m_count; }
    [[nodiscard]] bool SlotUsed(std::int32_t index) const noexcept;

private:
    std::vector<bool> m_used;
    std::int32_t m_count { 0 };
};

//! One glyph list per cell size, shared by every button glyph of that size.
class TGlyphCache {
public:
    //! The list of that cell size, made and appended when there is none.
    [[nodiscard]] TGlyphList& ListForSize(std::int32_t width, std::int32_t height);
    //! Frees the list when none of its slots is in use.
    void ReleaseList(TGlyphList* list);
    [[nodiscard]] bool Empty() const noexcept { return m_lists.empty(); }
    [[nodiscard]] std::int32_t ListCount() const noexcept { return static_cast<std::int32_t>(m_lists.size()); }

private:
    std::vector<std::unique_ptr<TGlyphList>> m_lists;
};

//! The glyph cache of the unit: made with the first TButtonGlyph (or the first
//! state image after it was freed) and freed when a TButtonGlyph goes away
//! while it holds no list; null in between.
[[nodiscard]] TGlyphCache* GlyphCache() noexcept;
//! The number of state images made since the program started.
[[nodiscard]] std::uint64_t StateImagesMade() noexcept;

//! A button's glyph: the picture of NumGlyphs cells side by side and, made on
//! first need and kept until the picture or the cell count changes, one image
//! per button state in the shared list of the cell's size.
class TButtonGlyph : public TObject {
public:
    //! Where LayoutGlyphAndCaption puts the glyph's top-left corner and the caption.
    struct TPlacement {
        TPoint glyphPos;
        TRect textBounds;
    };

    TButtonGlyph();
    ~TButtonGlyph() override;

    //! The picture; loading or drawing into it releases the state images.
    [[nodiscard]] TBitmap& Picture() noexcept { return m_picture; }
    [[nodiscard]] const TBitmap& Picture() const noexcept { return m_picture; }
    //! Copies the bitmap. A picture whose width is a whole multiple of its height
    //! sets NumGlyphs to the quotient (1 when it exceeds 4); any other picture,
    //! an empty one included, keeps NumGlyphs.
    void SetGlyph(const TBitmap& value);
    [[nodiscard]] TNumGlyphs NumGlyphs() const noexcept { return m_numGlyphs; }
    //! A new count (1..4; values above 4 count as 4, below 1 are ignored)
    //! releases the state images.
    void SetNumGlyphs(TNumGlyphs value);
    //! The picture's transparent colour, read whenever the picture changes.
    [[nodiscard]] TColor TransparentColor() const noexcept { return m_transparentColor; }
    //! The colour (resolved) the last MakeStateImage was given.
    [[nodiscard]] TColor FaceColor() const noexcept { return m_faceColor; }
    [[nodiscard]] TGlyphList* GlyphList() const noexcept { return m_glyphList; }
    //! The slot of the image made for a state, -1 when none is made.
    [[nodiscard]] std::int32_t Index(TButtonState state) const noexcept { return m_indexes[state]; }
    //! Fires after the picture changed.
    void SetOnChange(TNotifyEvent handler) { m_onChange = std::move(handler); }

    //! Takes color as the face colour and returns the slot of the state's image,
    //! making it when it is not made yet; -1 when the glyph has no cell. The
    //! down state of a glyph of fewer than three cells shares the up image.
    std::int32_t MakeStateImage(TButtonState state, TColor color);
    //! Frees the state images' slots and gives the list back to the cache.
    void ReleaseImages();
    //! Places glyph and caption in client (see TButtonLayout): Margin is the
    //! distance from the edge on the glyph's side and Spacing the gap between
    //! them, -1 meaning "centre" for either or both.
    [[nodiscard]] TPlacement LayoutGlyphAndCaption(TCanvas& canvas, const TRect& client, const std::string& caption,
        TButtonLayout layout, std::int32_t margin, std::int32_t spacing) const;
    //! Draws the state's image at pos, its TransparentColor left out.
    void PaintGlyph(TCanvas& canvas, TPoint pos, TButtonState state);
    //! Draws the caption in textBounds: engraved when disabled, otherwise on one
    //! line centred, in black or white by the face colour when autoBlackWhite.
    void PaintCaption(TCanvas& canvas, const std::string& caption, const TRect& textBounds, TButtonState state,
        bool autoBlackWhite) const;
    //! Lays out, paints the glyph and the caption; returns the caption's bounds.
    TRect PaintGlyphAndCaption(TCanvas& canvas, const TRect& client, const std::string& caption, TButtonLayout layout,
        std::int32_t margin, std::int32_t spacing, TButtonState state, bool autoBlackWhite);

private:
    //! The size of one cell; (0, 0) when there is none.
    [[nodiscard]] TSize CellSize() const noexcept;
    void MakeImage(TBitmap& image, TButtonState state, TSize cell);
    void PictureChanged();

    TBitmap m_picture;
    TGlyphList* m_glyphList { nullptr };
    std::array<std::int32_t, 4> m_indexes { -1, -1, -1, -1 };
    TColor m_transparentColor { clOlive };
    TNumGlyphs m_numGlyphs { 1 };
    TNotifyEvent m_onChange;
    TColor m_faceColor { clBlack };
};

//! A speed button painted from one colour in one of eleven styles. It works as a
//! push button (GroupIndex 0), as one of a group of buttons with the same
//! GroupIndex of which at most one is down, or, with boRepeatable, as a button
//! that clicks again while held (after 500 ms, then every 100 ms). A new one is
//! 25 x 25 in its owner's colour (a form's; otherwise black), bsNew, with
//! boShowMouseFocus, boDitherPattern and boAutoBlackWhiteText.
//!
//! User handlers may free the button; it does not touch itself afterwards.
class TColor95Button : public TGraphicControl {
public:
    explicit TColor95Button(TComponent* owner);
    ~TColor95Button() override;

    //! \name Properties
    //! Whether the down button of a group may be raised by a click; every
    //! button of the group takes the value last set on any of them.
    [[nodiscard]] bool AllowAllUp() const noexcept { return m_allowAllUp; }
    void SetAllowAllUp(bool value);
    [[nodiscard]] std::int32_t GroupIndex() const noexcept { return m_groupIndex; }
    void SetGroupIndex(std::int32_t value);
    [[nodiscard]] bool Down() const noexcept { return m_down; }
    //! Lowers or raises the button; a button without a group never stays down,
    //! and a down button stays down unless AllowAllUp. Lowering one raises the
    //! others of its group.
    void SetDown(bool value);
    [[nodiscard]] TBitmap& GetGlyph() noexcept { return m_glyph.Picture(); }
    void SetGlyph(const TBitmap& value);
    [[nodiscard]] TButtonLayout Layout() const noexcept { return m_layout; }
    void SetLayout(TButtonLayout value);
    //! Sounds (WAV files or package resources) played on a click and when the
    //! pointer enters the button.
    [[nodiscard]] const std::string& SoundClick() const noexcept { return m_soundClick; }
    void SetSoundClick(const std::string& value) { m_soundClick = value; }
    [[nodiscard]] const std::string& SoundMouseOver() const noexcept { return m_soundMouseOver; }
    void SetSoundMouseOver(const std::string& value) { m_soundMouseOver = value; }
    [[nodiscard]] std::int32_t Margin() const noexcept { return m_margin; }
    //! Values below -1 are ignored.
    void SetMargin(std::int32_t value);
    [[nodiscard]] TNumGlyphs GetNumGlyphs() const noexcept { return m_glyph.NumGlyphs(); }
    //! Values below 1 are ignored, values above 4 count as 4.
    void SetNumGlyphs(TNumGlyphs value);
    [[nodiscard]] TClr95ButtonStyle Style() const noexcept { return m_style; }
    void SetStyle(TClr95ButtonStyle value);
    [[nodiscard]] TButtonOptions Options() const noexcept { return m_options; }
    void SetOptions(TButtonOptions value);
    [[nodiscard]] std::int32_t Spacing() const noexcept { return m_spacing; }
    void SetSpacing(std::int32_t value);
    [[nodiscard]] const TClrBtnOwnerDrawEvent& OnOwnerDraw() const noexcept { return m_onOwnerDraw; }
    void SetOnOwnerDraw(TClrBtnOwnerDrawEvent handler) { m_onOwnerDraw = std::move(handler); }

    //! \name Queries
    [[nodiscard]] TButtonState State() const noexcept { return m_state; }
    [[nodiscard]] bool MouseOver() const noexcept { return m_mouseOver; }
    //! True from a left press until its release.
    [[nodiscard]] bool Tracking() const noexcept { return m_dragging; }
    [[nodiscard]] TButtonGlyph& ButtonGlyph() noexcept { return m_glyph; }

    //! Plays SoundClick, then fires OnClick.
    void Click() override;
    void Loaded() override;

    [[nodiscard]] const TClassInfo& ClassType() const override;
    [[nodiscard]] static const TClassInfo& StaticClassInfo();
    [[nodiscard]] static const TEnumInfo& StyleInfo();
    [[nodiscard]] static const TEnumInfo& LayoutInfo();
    [[nodiscard]] static const TEnumInfo& OptionInfo();

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    void MouseMove(TShiftState shift, std::int32_t x, std::int32_t y) override;
    void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    void WMLButtonDblClk(TMessage& message) override;
    void CMMouseEnter(TMessage& message) override;
    void CMMouseLeave(TMessage& message) override;
    void CMEnabledChanged(TMessage& message) override;
    void CMColorChanged(TMessage& message) override;
    //! WParam: the group index; LParam: the sending control (a TControl*).
    void CMButtonPressed(TMessage& message) override;
    void CMDialogChar(TMessage& message) override;

private:
    //! The state of a button at rest: exclusive when down, otherwise up.
    [[nodiscard]] TButtonState RestingState() const noexcept { return m_down ? bsExclusive : bsUp; }
    //! The press test: the bottom edge counts as inside, the right one does not.
    [[nodiscard]] bool Inside(std::int32_t x, std::int32_t y) const noexcept;
    void OnButtonRepeat();
    void StartRepeat();
    void UpdateExclusive();
    void GlyphChanged();
    void PaintDither(TCanvas& canvas, TRect& paintRect, TButtonState state);
    void PaintHoverTint(TCanvas& canvas, const TRect& paintRect, TButtonState state);

    std::int32_t m_groupIndex { 0 };
    TButtonGlyph m_glyph;
    bool m_down { false };
    bool m_dragging { false };
    bool m_allowAllUp { false };
    TButtonLayout m_layout { blGlyphLeft };
    std::int32_t m_spacing { 4 };
    std::int32_t m_margin { -1 };
    bool m_mouseOver { false };
    TClrBtnOwnerDrawEvent m_onOwnerDraw;
    TClr95ButtonStyle m_style { bsNew };
    std::string m_soundClick;
    std::string m_soundMouseOver;
    TButtonOptions m_options { boShowMouseFocus, boDitherPattern, boAutoBlackWhiteText };
    TButtonState m_state { bsUp };
};

//! The repeat timer all colour buttons share; null while the unit is not started.
[[nodiscard]] TTimer* RepeatTimer() noexcept;

//! Starts the unit: the shared repeat timer (disabled), the dither pattern from
//! the package's bitmap "CLRBTNPATTERN", and TColor95Button for form files.
//! FinalizeColorBtns undoes it, freeing the timer before the pattern.
void InitializeColorBtns();
void FinalizeColorBtns();

} // namespace plx
